// Unicode text in its encodings: UTF-8 and UTF-16 bytes read as UTF-16 code
// units, and code points split into and joined from surrogate pairs. The
// caption tables, the update server's replies and the wide-text helpers all
// decode through here.
//
// Ill-formed UTF-8 becomes U+FFFD, one for each maximal ill-formed part: the
// longest start of a well-formed sequence that the next byte does not
// continue, or else a single byte. A byte that could begin a good character
// is never swallowed by a bad one before it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace lumora {

inline constexpr char16_t kReplacementCharacter = 0xFFFD;

constexpr bool IsHighSurrogate(std::uint32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
constexpr bool IsLowSurrogate(std::uint32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The code point of a high and a low surrogate.
constexpr std::uint32_t JoinSurrogates(std::uint32_t high, std::uint32_t low) {
    return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}

// Appends |codePoint| (at most U+10FFFF) as one code unit, or above U+FFFF
// as a surrogate pair.
void AppendCodePoint(std::u16string& units, std::uint32_t codePoint);

// UTF-8 bytes as UTF-16 code units. A byte-order mark is no concern of
// this: it is read as the character U+FEFF.
std::u16string DecodeUtf8(const std::uint8_t* bytes, std::size_t count);

enum class ByteOrder { LittleEndian, BigEndian };

// The code units of UTF-16 bytes, two bytes each, as they are: an unpaired
// surrogate stays. An odd last byte is no code unit and is left out; what it
// stands for is the caller's to say.
std::u16string DecodeUtf16(const std::uint8_t* bytes, std::size_t count, ByteOrder order);

}  // namespace lumora
