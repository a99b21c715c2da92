#include <windows.h>

#include "app/RunOnce.h"
#include "app/UpdateCheckMode.h"
#include "platform/Shell.h"
#include "platform/ShellAddresses.h"
#include "platform/UpdateCheck.h"
#include "ui/Captions.h"
#include "ui/WindowClasses.h"

namespace lumora {

void RunUpdateCheckMode() {
    if (CheckForUpdate() != 1) {
        return;
    }
    // The running instance loses its dialogs, then its main window, before
    // the user is asked anything.
    CloseWindowOfClass(kAboutFormClass);
    CloseWindowOfClass(kSettingsFormClass);
    CloseWindowOfClass(kMainFormClass);

    const std::wstring title = GetCaption(L"LMMainForm", L"LMMainForm");
    const std::wstring text = JoinMessageTexts({GetCaption(L"LMUpdateForm", L"MessageBoxUpdate1"),
                                                GetCaption(L"LMUpdateForm", L"MessageBoxUpdate2")});
    if (MessageBoxW(nullptr, text.c_str(), title.c_str(), MB_YESNO | MB_ICONINFORMATION) == IDYES) {
        ExecuteFileDetached(ProgramFolder() + kUpdaterFileName, L"");
    }
}

}  // namespace lumora
