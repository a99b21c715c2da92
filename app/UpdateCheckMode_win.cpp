#include <windows.h>

#include "app/RunOnce.h"
#include "app/UpdateCheckMode.h"
#include "platform/Shell.h"
#include "platform/ShellAddresses.h"
#include "platform/UpdateCheck.h"
#include "ui/Captions.h"
#include "ui/framework/WindowClasses.h"
#include "ui/text/CaptionSections.h"

namespace lumora {

namespace {

// How long the running instance may take to end once asked: a run that is
// showing its steps finishes the step it is on and its registry work first.
constexpr DWORD kInstanceEndMs = 30000;

// The process of the running instance's main window, to wait on; null when
// there is none.
HANDLE RunningInstance() {
    HWND window = FindWindowW(kMainFormClass, nullptr);
    DWORD processId = 0;
    if (window == nullptr || GetWindowThreadProcessId(window, &processId) == 0 ||
        processId == GetCurrentProcessId()) {
        return nullptr;
    }
    return OpenProcess(SYNCHRONIZE, FALSE, processId);
}

}  // namespace

void RunUpdateCheckMode() {
    if (CheckForUpdate() != 1) {
        return;
    }
    // The running instance loses its dialogs, then its main window, and has
    // ended before the user is asked anything. During a run's steps its
    // main window closes only once the registry work is complete.
    HANDLE instance = RunningInstance();
    CloseWindowOfClass(kAboutFormClass);
    CloseWindowOfClass(kSettingsFormClass);
    CloseWindowOfClass(kMainFormClass);
    if (instance != nullptr) {
        WaitForSingleObject(instance, kInstanceEndMs);
        CloseHandle(instance);
    }

    const std::wstring title = GetCaption(kMainFormSection, kMainFormSection);
    const std::wstring text = GetMessageText(kUpdateFormSection, L"MessageBoxUpdate");
    if (MessageBoxW(nullptr, text.c_str(), title.c_str(), MB_YESNO | MB_ICONINFORMATION) == IDYES) {
        ExecuteFileDetached(ProgramFolder() + kUpdaterFileName, L"");
    }
}

}  // namespace lumora
