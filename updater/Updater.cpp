#include "updater/Updater.h"

#include "platform/ShellAddresses.h"
#include "ui/text/CaptionLookup.h"

namespace lumora {
namespace {

constexpr wchar_t kSection[] = L"LMUpdateForm";

// The two texts "<key>1" and "<key>2" of the section with an empty line
// between them.
std::wstring MessageText(const std::wstring& language, const std::wstring& key) {
    return JoinMessageTexts({LookUpCaption(language, kSection, key + L"1"),
                             LookUpCaption(language, kSection, key + L"2")});
}

}  // namespace

void RunUpdater(int checkResult, const std::wstring& language, UpdaterUi& ui) {
    const std::wstring title = LookUpCaption(language, kSection, kSection);
    switch (checkResult) {
        case 1:
            if (ui.Ask(title, MessageText(language, L"MessageBoxUpdate"))) {
                ui.OpenPage(DownloadPageUrl());
            }
            break;
        case 0:
        case 2:
            ui.Tell(title, MessageText(language, L"MessageBoxNoUpdate"), UpdaterIcon::Information);
            break;
        default:
            ui.Tell(title, MessageText(language, L"MessageBoxNoConnection"), UpdaterIcon::Warning);
            break;
    }
}

}  // namespace lumora
