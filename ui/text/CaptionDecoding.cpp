#include "ui/text/CaptionDecoding.h"

#include <algorithm>
#include <initializer_list>

#include "common/WideText.h"

namespace lumora {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// The code points of 0x80 to 0x9F in Windows-1252.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::u16string Utf16BigEndian(const std::uint8_t* bytes, std::size_t count) {
    std::u16string units;
    units.reserve(count / 2);
    for (std::size_t i = 0; i + 1 < count; i += 2) {
        units.push_back(static_cast<char16_t>((bytes[i] << 8) | bytes[i + 1]));
    }
    return units;
}

void AppendCodePoint(std::u16string& units, std::uint32_t c) {
    if (c > 0xFFFF) {
        c -= 0x10000;
        units.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        units.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
        units.push_back(static_cast<char16_t>(c));
    }
}

// Well-formed UTF-8 only: overlong forms, surrogates and code points past
// U+10FFFF are malformed. Each maximal malformed part becomes one U+FFFD.
std::u16string Utf8(const std::uint8_t* bytes, std::size_t count) {
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
            units.push_back(kReplacement);
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
            units.push_back(kReplacement);
        } else {
            AppendCodePoint(units, c);
        }
    }
    return units;
}

bool StartsWith(const std::uint8_t* bytes, std::size_t count,
                std::initializer_list<std::uint8_t> mark) {
    return count >= mark.size() && std::equal(mark.begin(), mark.end(), bytes);
}

}  // namespace

std::wstring DecodeWindows1252(const std::uint8_t* bytes, std::size_t count) {
    std::wstring text;
    text.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t b = bytes[i];
        text.push_back(b >= 0x80 && b <= 0x9F ? static_cast<wchar_t>(kWindows1252High[b - 0x80])
                                              : static_cast<wchar_t>(b));
    }
    return text;
}

std::wstring DecodeCaptionTable(const std::uint8_t* bytes, std::size_t count,
                                AnsiDecoder decodeAnsi) {
    std::wstring text;
    if (bytes == nullptr || count == 0) {
        return text;
    }
    if (StartsWith(bytes, count, {0xFF, 0xFE})) {
        text = Utf16ToWide(BytesToUtf16(bytes + 2, count - 2));
    } else if (StartsWith(bytes, count, {0xFE, 0xFF})) {
        text = Utf16ToWide(Utf16BigEndian(bytes + 2, count - 2));
    } else if (StartsWith(bytes, count, {0xEF, 0xBB, 0xBF})) {
        text = Utf16ToWide(Utf8(bytes + 3, count - 3));
    } else if (decodeAnsi != nullptr) {
        text = decodeAnsi(bytes, count);
    }
    const std::size_t nul = text.find(L'\0');
    if (nul != std::wstring::npos) {
        text.resize(nul);
    }
    return text;
}

}  // namespace lumora
