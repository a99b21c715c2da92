#include <cstddef>
#include <cstdint>

#include "common/WideText.h"
#include "ui/text/CaptionDecoding.h"
#include "ui/text/CaptionResource.h"

namespace lumora {

// The bytes of resources/English.txt, compiled in by the build.
extern const std::uint8_t kEnglishCaptionTable[];
extern const std::size_t kEnglishCaptionTableSize;

std::optional<std::wstring> ReadCaptionResource(const std::wstring& name) {
    if (!EqualNoCase(name, L"ENGLISH")) {
        return std::nullopt;
    }
    // Windows-1252 stands for the ANSI code page here.
    return DecodeCaptionTable(kEnglishCaptionTable, kEnglishCaptionTableSize, DecodeWindows1252);
}

}  // namespace lumora
