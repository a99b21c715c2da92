#include "tests/e2e/LumoraDriver.h"

#include <commctrl.h>

#include "tests/support/Automation.h"
#include "ui/framework/WindowClasses.h"

namespace lumora::test {

namespace {

constexpr UINT kSendTimeoutMs = 5000;
constexpr DWORD kRunTimeoutMs = 120000;    // a run of the test build takes seconds
constexpr int kMessageBoxTextId = 0xFFFF;  // the message text of a message box

// A message whose answer is a number, sent without hanging on a stuck
// receiver; -1 when it got no answer.
LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                            &result) == 0) {
        return -1;
    }
    return static_cast<LRESULT>(result);
}

struct BoxSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchBox(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<BoxSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) && ClassOf(window) == L"#32770") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The window of a class owned by the process, shown or not.
HWND WindowOf(const wchar_t* windowClass, DWORD processId) {
    return WaitForWindow(windowClass, processId, 0);
}

}  // namespace

LumoraProcess::~LumoraProcess() {
    if (started_.process != nullptr) {
        Close();
    }
}

bool LumoraProcess::Open(const std::wstring& exe) {
    const std::wstring path = exe.empty() ? TestFolder() + L"Lumora.exe" : exe;
    started_ = Start(L"\"" + path + L"\"");
    main_ = WaitForWindow(kMainFormClass, started_.id, kWindowTimeoutMs);
    // The window exists before its components; it is shown when complete.
    WaitUntil([this] { return main_ != nullptr && IsWindowVisible(main_); });
    return main_ != nullptr && IsWindowVisible(main_);
}

bool LumoraProcess::Choose(const Choices& choices) {
    const std::vector<HWND> combos = ControlsOfClass(main_, WC_COMBOBOXEXW);
    const std::vector<HWND> bars = ControlsOfClass(main_, TRACKBAR_CLASSW);
    if (combos.size() != 3 || bars.size() != 1) {
        return false;
    }
    // Top to bottom: edition, processor, connection.
    const int items[] = {choices.windowsItem, choices.processorItem, choices.connectionType};
    bool taken = true;
    for (std::size_t i = 0; i < 3; ++i) {
        Ask(combos[i], CB_SETCURSEL, static_cast<WPARAM>(items[i]));
        taken = taken && Ask(combos[i], CB_GETCURSEL) == items[i];
    }
    Ask(bars[0], TBM_SETPOS, TRUE, choices.speed);
    return taken && Ask(bars[0], TBM_GETPOS) == choices.speed;
}

HWND LumoraProcess::Button(const std::wstring& text) const {
    return FindControl(main_, L"Button", text);
}

bool LumoraProcess::Press(const std::wstring& buttonText) {
    HWND button = Button(buttonText);
    // Posted: the run goes on inside the click, up to its modal questions.
    return button != nullptr && PostMessageW(button, BM_CLICK, 0, 0) != 0;
}

HWND LumoraProcess::ProgressDialog() const {
    return WindowOf(kSettingsFormClass, started_.id);
}

int LumoraProcess::ProgressBar() const {
    const std::vector<HWND> bars = ControlsOfClass(ProgressDialog(), PROGRESS_CLASSW);
    return bars.size() == 1 ? static_cast<int>(Ask(bars[0], PBM_GETPOS)) : -1;
}

// The heading above the bar, the step text below it.
std::wstring LumoraProcess::ProgressHeading() const {
    const std::vector<HWND> labels = ControlsOfClass(ProgressDialog(), L"Static");
    return labels.size() == 2 ? WindowText(labels[0]) : L"<no heading>";
}

std::wstring LumoraProcess::ProgressLabel() const {
    const std::vector<HWND> labels = ControlsOfClass(ProgressDialog(), L"Static");
    return labels.size() == 2 ? WindowText(labels[1]) : L"<no step label>";
}

ProgressTrace LumoraProcess::FollowProgress() {
    ProgressTrace trace;
    HWND dialog = ProgressDialog();
    const DWORD start = GetTickCount();
    while (dialog != nullptr && !IsWindowVisible(dialog) &&
           GetTickCount() - start < kWindowTimeoutMs) {
        Sleep(1);
    }
    if (dialog == nullptr || !IsWindowVisible(dialog)) {
        return trace;
    }
    trace.title = WindowText(dialog);
    // The answers come while the program pumps its messages, that is during
    // the steps; once the dialog is hidden the run is over.
    while (IsWindowVisible(dialog) && GetTickCount() - start < kRunTimeoutMs) {
        const int before = ProgressBar();
        const std::wstring label = ProgressLabel();
        const int after = ProgressBar();
        const bool oneMoment = before == after && before >= 0;
        if (oneMoment && (trace.samples.empty() || trace.samples.back().bar != before ||
                          trace.samples.back().label != label)) {
            trace.samples.push_back({before, label});
        }
        Sleep(5);  // a step lasts longer; leave the program its pace
    }
    // The run sets the heading right after showing the dialog; it stays.
    trace.heading = ProgressHeading();
    return trace;
}

bool LumoraProcess::WaitForProgressStep() {
    HWND dialog = ProgressDialog();
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kWindowTimeoutMs) {
        if (dialog != nullptr && IsWindowVisible(dialog) &&
            ProgressLabel().find(L'.') != std::wstring::npos) {
            return true;
        }
        Sleep(1);
    }
    return false;
}

HWND LumoraProcess::WaitForMessageBox(DWORD timeoutMs) const {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND box = FindMessageBox(started_.id)) {
            return box;
        }
        if (GetTickCount() - start > timeoutMs) {
            return nullptr;
        }
        Sleep(20);
    }
}

int LumoraProcess::Close() {
    if (main_ != nullptr && IsWindow(main_)) {
        PostMessageW(main_, WM_CLOSE, 0, 0);
    }
    return WaitForExit();
}

bool LumoraProcess::HasEnded(DWORD waitMs) const {
    return started_.process == nullptr ||
           WaitForSingleObject(started_.process, waitMs) == WAIT_OBJECT_0;
}

int LumoraProcess::WaitForExit(DWORD timeoutMs) {
    main_ = nullptr;
    return test::WaitForExit(started_, timeoutMs);
}

HWND FindMessageBox(DWORD processId) {
    BoxSearch search{processId, nullptr};
    EnumWindows(MatchBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring MessageBoxText(HWND box) {
    HWND text = GetDlgItem(box, kMessageBoxTextId);
    return text != nullptr ? WindowText(text) : L"<no message text>";
}

bool PressMessageBoxButton(HWND box, int id) {
    HWND button = GetDlgItem(box, id);
    return button != nullptr && PostMessageW(button, BM_CLICK, 0, 0) != 0;
}

bool WaitUntilGone(HWND window, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        Sleep(20);
    }
    return true;
}

std::wstring ScreenshotFolder() {
    wchar_t full[MAX_PATH] = {};
    GetFullPathNameW((TestFolder() + L"..\\screenshots\\").c_str(), MAX_PATH, full, nullptr);
    CreateDirectoryW(full, nullptr);
    return full;
}

}  // namespace lumora::test
