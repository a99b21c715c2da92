#include <windows.h>

#include "app/RunOnce.h"

namespace lumora {

bool IsAnotherInstanceRunning(const wchar_t* windowClass, bool restore) {
    HWND window = FindWindowW(windowClass, nullptr);
    if (window == nullptr) {
        return false;
    }
    if (restore) {
        ShowWindow(window, SW_RESTORE);
        SetForegroundWindow(window);
    }
    return true;
}

void CloseWindowOfClass(const wchar_t* windowClass) {
    HWND window = FindWindowW(windowClass, nullptr);
    if (window != nullptr) {
        SendMessageW(window, WM_CLOSE, 0, 0);
    }
}

}  // namespace lumora
