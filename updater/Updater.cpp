#include "updater/Updater.h"

#include "platform/ShellAddresses.h"
#include "ui/text/CaptionLookup.h"
#include "ui/text/CaptionSections.h"

namespace lumora {
namespace {

std::wstring MessageText(const std::wstring& language, const std::wstring& stem) {
    return LookUpMessageText(language, kUpdateFormSection, stem);
}

}  // namespace

void RunUpdater(int checkResult, const std::wstring& language, UpdaterUi& ui) {
    const std::wstring title = LookUpCaption(language, kUpdateFormSection, kUpdateFormSection);
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
