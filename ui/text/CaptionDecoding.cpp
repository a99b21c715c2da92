#include "ui/text/CaptionDecoding.h"

#include <algorithm>
#include <initializer_list>

#include "common/Unicode.h"
#include "common/WideText.h"

namespace lumora {

namespace {

// The code points of 0x80 to 0x9F in Windows-1252.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

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
        text = Utf16ToWide(DecodeUtf16(bytes + 2, count - 2, ByteOrder::LittleEndian));
    } else if (StartsWith(bytes, count, {0xFE, 0xFF})) {
        text = Utf16ToWide(DecodeUtf16(bytes + 2, count - 2, ByteOrder::BigEndian));
    } else if (StartsWith(bytes, count, {0xEF, 0xBB, 0xBF})) {
        text = Utf16ToWide(DecodeUtf8(bytes + 3, count - 3));
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
