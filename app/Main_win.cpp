// The program's entry point: dates in the program key, the mode, the
// single-instance rule, and in the interactive mode the three windows and the
// message loop.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "app/MainForm.h"
#include "app/RunOnce.h"
#include "app/Startup.h"
#include "app/UpdateCheckMode.h"
#include "registry/DateText.h"
#include "ui/AboutForm.h"
#include "ui/SettingsForm.h"
#include "ui/WindowClasses.h"

namespace lumora {
namespace {

std::wstring FirstArgument() {
    return __argc > 1 && __wargv != nullptr && __wargv[1] != nullptr ? std::wstring(__wargv[1])
                                                                     : std::wstring();
}

int RunInteractive() {
    TLMMainForm mainForm;
    TLMAboutForm aboutForm;
    TLMSettingsForm settingsForm;
    if (!mainForm.Create()) {
        return 1;
    }
    aboutForm.Create(mainForm.Handle());
    settingsForm.Create(mainForm.Handle());
    ShowWindow(mainForm.Handle(), SW_SHOWNORMAL);
    UpdateWindow(mainForm.Handle());

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

}  // namespace

int Run() {
    RecordStartDates(CurrentLocalTime());
    const StartMode mode = ModeFromArgument(FirstArgument());
    if (mode == StartMode::CheckUpdate) {
        RunUpdateCheckMode();
    }
    if (IsAnotherInstanceRunning(kMainFormClass, true) || mode != StartMode::Interactive) {
        return 0;
    }
    return RunInteractive();
}

}  // namespace lumora

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    try {
        return lumora::Run();
    } catch (...) {
        return 1;
    }
}
