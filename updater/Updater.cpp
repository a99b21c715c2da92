#include "updater/Updater.h"

#include "platform/ShellAddresses.h"
#include "ui/Captions.h"

namespace lumora {
namespace {

constexpr wchar_t kSection[] = L"LMUpdateForm";

// The two texts "<key>1" and "<key>2" of the section with an empty line
// between them.
std::wstring MessageText(const std::wstring& key) {
    return GetCaption(kSection, key + L"1") + L"\r\n\r\n" + GetCaption(kSection, key + L"2");
}

}  // namespace

void RunUpdater(int checkResult, UpdaterUi& ui) {
    const std::wstring title = GetCaption(kSection, kSection);
    switch (checkResult) {
        case 1:
            if (ui.Ask(title, MessageText(L"MessageBoxUpdate"))) {
                ui.OpenPage(DownloadPageUrl());
            }
            break;
        case 0:
        case 2:
            ui.Tell(title, MessageText(L"MessageBoxNoUpdate"), UpdaterIcon::Information);
            break;
        default:
            ui.Tell(title, MessageText(L"MessageBoxNoConnection"), UpdaterIcon::Warning);
            break;
    }
}

}  // namespace lumora
