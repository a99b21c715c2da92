#include "common/WideText.h"
#include "tests/support/RawRegistry.h"

namespace lumora::test {

std::vector<std::uint8_t> TextBytes(const std::wstring& text, bool terminated) {
    std::u16string units = WideToUtf16(text);
    if (terminated) {
        units.push_back(u'\0');
    }
    return Utf16ToBytes(units);
}

std::vector<std::uint8_t> DwordBytes(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

}  // namespace lumora::test
