// Conversions between the program's wide texts and UTF-16 code units.
//
// On Windows wchar_t is a UTF-16 code unit and the conversions are copies; in
// the native build wchar_t holds whole code points, so surrogate pairs are
// joined and split here. Unpaired surrogates are kept as they are, never lost.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lumora {

// UTF-16 code units of a text, without a terminator.
std::u16string WideToUtf16(const std::wstring& text);
std::wstring Utf16ToWide(const char16_t* units, std::size_t count);
inline std::wstring Utf16ToWide(const std::u16string& units) {
    return Utf16ToWide(units.data(), units.size());
}

// Little-endian bytes of UTF-16 code units, as the registry stores texts.
std::vector<std::uint8_t> Utf16ToBytes(const std::u16string& units);
// Code units of little-endian bytes; an odd last byte is dropped.
std::u16string BytesToUtf16(const std::uint8_t* bytes, std::size_t count);

// ASCII-only letter case: A-Z become a-z, nothing else changes.
std::wstring AsciiLower(std::wstring text);
// Case-insensitive comparison the way Windows compares key and value names
// for the characters this program uses (ASCII and Latin-1 letters).
bool EqualNoCase(const std::wstring& a, const std::wstring& b);
wchar_t FoldCase(wchar_t c);

}  // namespace lumora
