// Lumora.exe of the test build driven from another process under Wine, the
// way a user meets it: the choices in the main window, its buttons, the
// progress dialog as it goes, and the message boxes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/Process.h"

namespace lumora::test {

constexpr DWORD kWindowTimeoutMs = 20000;

// The main window's four choices.
struct Choices {
    int windowsItem;     // item of the edition list
    int processorItem;   // item of the processor list
    int connectionType;  // item of the connection list
    int speed;           // track bar position
};

// What the progress dialog showed while a run went on: bar position and step
// text, each read twice around the text so that both belong to one moment.
struct ProgressSample {
    int bar;
    std::wstring label;
};
struct ProgressTrace {
    std::wstring title;
    std::wstring heading;
    std::vector<ProgressSample> samples;  // consecutive repeats left out
};

class LumoraProcess {
  public:
    LumoraProcess() = default;
    ~LumoraProcess();
    LumoraProcess(const LumoraProcess&) = delete;
    LumoraProcess& operator=(const LumoraProcess&) = delete;

    // Starts the program (Lumora.exe next to the test when |exe| is empty)
    // and waits until its main window is shown; false when it is not.
    bool Open(const std::wstring& exe = L"");
    HWND Main() const { return main_; }
    DWORD Id() const { return started_.id; }

    // Selects the items and the position as a user would leave them; false
    // when a control did not take its value.
    bool Choose(const Choices& choices);
    // Clicks the main window's button with this text; returns at once.
    bool Press(const std::wstring& buttonText);
    HWND Button(const std::wstring& text) const;

    // The progress dialog (created hidden at start-up), its bar and labels.
    HWND ProgressDialog() const;
    int ProgressBar() const;
    std::wstring ProgressLabel() const;
    std::wstring ProgressHeading() const;
    // Waits for the dialog to show, then samples it until it is hidden.
    ProgressTrace FollowProgress();
    // Waits for the dialog to show a step, that is a text with dots.
    bool WaitForProgressStep();

    // A message box of this process, shown.
    HWND WaitForMessageBox(DWORD timeoutMs = kWindowTimeoutMs) const;

    // Closes the main window and waits for the end; the exit code, or -1.
    int Close();
    // True once the process has ended, waiting up to |waitMs| for it.
    bool HasEnded(DWORD waitMs = 0) const;
    // Waits for the process to end by itself; the exit code, or -1 (it is
    // then ended).
    int WaitForExit(DWORD timeoutMs = kWindowTimeoutMs);

  private:
    Started started_;
    HWND main_ = nullptr;
};

// A visible top-level "#32770" dialog owned by the process, or null.
HWND FindMessageBox(DWORD processId);
// The message text of a message box.
std::wstring MessageBoxText(HWND box);
// Clicks a message box button (IDOK, IDYES, IDNO, ...); false when it has
// no such button.
bool PressMessageBoxButton(HWND box, int id);
// Waits until the window is destroyed or hidden; false after |timeoutMs|.
bool WaitUntilGone(HWND window, DWORD timeoutMs = kWindowTimeoutMs);

// WaitUntil(condition, timeoutMs) comes from tests/support/Process.h.
// The folder the end-to-end tests save their screenshots in (the build's
// "screenshots" folder), made when missing; with a trailing backslash.
std::wstring ScreenshotFolder();

}  // namespace lumora::test
