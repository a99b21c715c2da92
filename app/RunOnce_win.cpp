#include <windows.h>

#include "app/RunOnce.h"

namespace lumora {

bool IsAnotherInstanceRunning(const wchar_t* windowClass, bool restore) {
    try {
        HWND window = FindWindowW(windowClass, nullptr);
        if (window == nullptr) {
            return false;
        }
        if (restore) {
            ShowWindow(window, SW_RESTORE);
            SetForegroundWindow(window);
        }
        return true;
    } catch (...) {
        return false;
    }
}

void CloseWindowOfClass(const wchar_t* windowClass) {
    HWND window = FindWindowW(windowClass, nullptr);
    if (window != nullptr) {
        SendMessageW(window, WM_CLOSE, 0, 0);
    }
}

}  // namespace lumora
