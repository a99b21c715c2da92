#include "common/WideText.h"

#include <algorithm>

#include "common/Unicode.h"

namespace lumora {

std::u16string WideToUtf16(const std::wstring& text) {
    std::u16string units;
    units.reserve(text.size());
    for (wchar_t wc : text) {
        const auto c = static_cast<std::uint32_t>(wc);
        if (c <= 0x10FFFF) {
            AppendCodePoint(units, c);
        } else {
            units.push_back(static_cast<char16_t>(c & 0xFFFF));
        }
    }
    return units;
}

std::wstring Utf16ToWide(const char16_t* units, std::size_t count) {
    std::wstring text;
    text.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t c = units[i];
        if (sizeof(wchar_t) > 2 && IsHighSurrogate(c) && i + 1 < count &&
            IsLowSurrogate(units[i + 1])) {
            c = JoinSurrogates(c, units[i + 1]);
            ++i;
        }
        text.push_back(static_cast<wchar_t>(c));
    }
    return text;
}

std::vector<std::uint8_t> Utf16ToBytes(const std::u16string& units) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(units.size() * 2);
    for (char16_t u : units) {
        bytes.push_back(static_cast<std::uint8_t>(u & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(u >> 8));
    }
    return bytes;
}

std::u16string BytesToUtf16(const std::uint8_t* bytes, std::size_t count) {
    return DecodeUtf16(bytes, count, ByteOrder::LittleEndian);
}

std::wstring AsciiLower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) {
        return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    });
    return text;
}

wchar_t FoldCase(wchar_t c) {
    if ((c >= L'a' && c <= L'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
        return static_cast<wchar_t>(c - 0x20);
    }
    return c;
}

bool EqualNoCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace lumora
