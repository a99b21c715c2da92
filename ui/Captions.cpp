#include "ui/Captions.h"

#include <optional>

#include "common/WideText.h"
#include "registry/ProgramKey.h"
#include "ui/CaptionResource.h"
#include "ui/CaptionTable.h"

namespace lumora {

namespace {

std::optional<std::wstring> ConfiguredTable() {
    const std::wstring language = program_key::ReadLanguage();
    return ReadCaptionResource(AsciiLower(language));
}

}  // namespace

std::wstring GetCaption(const std::wstring& section, const std::wstring& key) {
    try {
        const std::optional<std::wstring> table = ConfiguredTable();
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

void LoadFormCaptions(Form& form) {
    try {
        const std::optional<std::wstring> table = ConfiguredTable();
        if (table) {
            ApplyCaptionsTo(*table, form);
        }
    } catch (...) {
        // Texts applied so far stay.
    }
}

}  // namespace lumora
