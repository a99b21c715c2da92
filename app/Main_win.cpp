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
#include "platform/NativeHandCursor.h"
#include "registry/DateText.h"
#include "ui/AboutForm.h"
#include "ui/NativeHintWindow.h"
#include "ui/SettingsForm.h"
#include "ui/framework/Application.h"
#include "ui/framework/WindowClasses.h"

namespace lumora {
namespace {

std::wstring FirstArgument() {
    return __argc > 1 && __wargv != nullptr && __wargv[1] != nullptr ? std::wstring(__wargv[1])
                                                                     : std::wstring();
}

// Process-wide look and feel: hints in native tooltips, and the system's own
// hand cursor for links. Both are first wanted when the pointer rests on a
// control, which only the message loop handles.
void PrepareLookAndFeel() {
    InstallNativeHintWindow();
    LoadNativeHandCursor();
    Application::Instance().SetCursor(CursorKind::HandPoint, HandCursor());
}

int RunInteractive() {
    TLMMainForm mainForm;
    TLMAboutForm aboutForm;
    TLMSettingsForm settingsForm;
    if (!mainForm.Create()) {
        return 1;
    }
    // The main window shows and paints first; the about box and the progress
    // dialog, hidden until used, are made right after it and before the
    // message loop runs, so nothing can reach them any earlier than before.
    ShowWindow(mainForm.Handle(), SW_SHOWNORMAL);
    UpdateWindow(mainForm.Handle());
    // After the first paint, whose peak memory they would otherwise add to.
    PrepareLookAndFeel();
    aboutForm.Create(mainForm.Handle());
    settingsForm.Create(mainForm.Handle());
    mainForm.SetDialogs(&aboutForm, &settingsForm);
    Application& application = Application::Instance();
    application.SetShortCutHandler(
        [&mainForm](WORD key, bool& handled) { mainForm.ApplicationEventsShortCut(key, handled); });
    application.Run();
    application.SetShortCutHandler(nullptr);
    return 0;
}

}  // namespace

int Run() {
    RecordStartDates(CurrentLocalTime());
    const StartMode mode = ModeFromArgument(FirstArgument());
    if (mode == StartMode::CheckUpdate) {
        PrepareLookAndFeel();
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
