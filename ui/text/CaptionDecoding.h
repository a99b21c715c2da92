// The text of a caption table's bytes. A leading byte-order mark selects the
// encoding and is dropped: FF FE UTF-16 little-endian, FE FF UTF-16
// big-endian, EF BB BF UTF-8. Without a mark the bytes are in the system's
// ANSI code page, which the caller decodes.
//
// Any bytes give a text: an odd last byte of UTF-16 is dropped, ill-formed
// UTF-8 becomes U+FFFD, one for each maximal ill-formed part
// (common/Unicode.h), and the text ends at its first NUL character.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace lumora {

using AnsiDecoder = std::wstring (*)(const std::uint8_t* bytes, std::size_t count);

std::wstring DecodeCaptionTable(const std::uint8_t* bytes, std::size_t count,
                                AnsiDecoder decodeAnsi);

// Windows-1252, the code page of the shipped table. The five bytes that
// code page leaves undefined become the C1 controls of the same value, as
// Windows' own conversion does.
std::wstring DecodeWindows1252(const std::uint8_t* bytes, std::size_t count);

}  // namespace lumora
