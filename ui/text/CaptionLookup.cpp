#include "ui/text/CaptionLookup.h"

#include <optional>

#include "common/WideText.h"
#include "ui/text/CaptionResource.h"
#include "ui/text/CaptionTable.h"

namespace lumora {

std::wstring LookUpCaption(const std::wstring& language, const std::wstring& section,
                           const std::wstring& key) {
    try {
        const std::optional<std::wstring> table = ReadCaptionResource(AsciiLower(language));
        return table ? FindCaptionIn(*table, section, key) : std::wstring();
    } catch (...) {
        return std::wstring();
    }
}

std::wstring JoinMessageTexts(const std::vector<std::wstring>& texts) {
    std::wstring joined;
    bool first = true;
    for (const std::wstring& text : texts) {
        if (!first) {
            joined += L"\r\n\r\n";
        }
        joined += text;
        first = false;
    }
    return joined;
}

std::wstring LookUpMessageText(const std::wstring& language, const std::wstring& section,
                               const std::wstring& stem, int parts) {
    std::vector<std::wstring> texts;
    for (int part = 1; part <= parts; ++part) {
        texts.push_back(LookUpCaption(language, section, stem + std::to_wstring(part)));
    }
    return JoinMessageTexts(texts);
}

void ApplyLanguageCaptions(const std::wstring& language, Form& form) {
    try {
        const std::optional<std::wstring> table = ReadCaptionResource(AsciiLower(language));
        if (table) {
            ApplyCaptionsTo(*table, form);
        }
    } catch (...) {
        // Texts applied so far stay.
    }
}

}  // namespace lumora
