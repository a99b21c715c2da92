#include "ui/Captions.h"

#include "registry/ProgramKey.h"

namespace lumora {

std::wstring GetCaption(const std::wstring& section, const std::wstring& key) {
    return LookUpCaption(program_key::ReadLanguage(), section, key);
}

std::wstring GetMessageText(const std::wstring& section, const std::wstring& stem, int parts) {
    return LookUpMessageText(program_key::ReadLanguage(), section, stem, parts);
}

void LoadFormCaptions(Form& form) {
    ApplyLanguageCaptions(program_key::ReadLanguage(), form);
}

}  // namespace lumora
