#include "common/Unicode.h"

namespace lumora {

void AppendCodePoint(std::u16string& units, std::uint32_t codePoint) {
    if (codePoint > 0xFFFF) {
        codePoint -= 0x10000;
        units.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
        units.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
    } else {
        units.push_back(static_cast<char16_t>(codePoint));
    }
}

// Well-formed sequences only (the Unicode standard's table of them): no
// overlong form, no encoded surrogate, nothing past U+10FFFF. The lead byte
// sets the range of the first trail byte; later trail bytes are 80 to BF.
std::u16string DecodeUtf8(const std::uint8_t* bytes, std::size_t count) {
    std::u16string units;
    units.reserve(count);
    std::size_t i = 0;
    while (i < count) {
        const std::uint8_t lead = bytes[i++];
        if (lead < 0x80) {
            units.push_back(lead);
            continue;
        }
        int trail = 0;
        std::uint32_t c = 0;
        std::uint8_t low = 0x80;
        std::uint8_t high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            trail = 1;
            c = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            trail = 2;
            c = lead & 0x0Fu;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            trail = 3;
            c = lead & 0x07u;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            units.push_back(kReplacementCharacter);
            continue;
        }
        int taken = 0;
        while (taken < trail && i < count && bytes[i] >= low && bytes[i] <= high) {
            c = (c << 6) | (bytes[i] & 0x3Fu);
            low = 0x80;
            high = 0xBF;
            ++i;
            ++taken;
        }
        if (taken < trail) {
            units.push_back(kReplacementCharacter);
        } else {
            AppendCodePoint(units, c);
        }
    }
    return units;
}

std::u16string DecodeUtf16(const std::uint8_t* bytes, std::size_t count, ByteOrder order) {
    const int firstShift = order == ByteOrder::BigEndian ? 8 : 0;
    std::u16string units;
    units.reserve(count / 2);
    for (std::size_t i = 0; i + 1 < count; i += 2) {
        units.push_back(
            static_cast<char16_t>((bytes[i] << firstShift) | (bytes[i + 1] << (8 - firstShift))));
    }
    return units;
}

}  // namespace lumora
