#include "tests/support/Input.h"

namespace lumora::test {

namespace {

void SendKey(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, 0));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(input));
}

void SendMouse(DWORD flags, POINT screen) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    // Absolute coordinates run from 0 to 65535 over the screen.
    input.mi.dx = MulDiv(screen.x, 65535, width > 1 ? width - 1 : 1);
    input.mi.dy = MulDiv(screen.y, 65535, height > 1 ? height - 1 : 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
}

GUITHREADINFO ThreadInfoOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (thread == 0 || !GetGUIThreadInfo(thread, &info)) {
        info = GUITHREADINFO{};
    }
    return info;
}

}  // namespace

void PressKey(WORD key, WORD modifier) {
    if (modifier != 0) {
        SendKey(modifier, false);
    }
    SendKey(key, false);
    SendKey(key, true);
    if (modifier != 0) {
        SendKey(modifier, true);
    }
}

void MovePointer(POINT screen) {
    SendMouse(MOUSEEVENTF_MOVE, screen);
}

void LeftButton(POINT screen, bool down) {
    SendMouse(MOUSEEVENTF_MOVE | (down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP), screen);
}

void ClickAt(POINT screen) {
    MovePointer(screen);
    LeftButton(screen, true);
    LeftButton(screen, false);
}

POINT CentreOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

HWND FocusOf(HWND window) {
    return ThreadInfoOf(window).hwndFocus;
}

HWND ActiveOf(HWND window) {
    return ThreadInfoOf(window).hwndActive;
}

bool HasFocus(HWND control) {
    HWND focus = FocusOf(control);
    return focus != nullptr && (focus == control || IsChild(control, focus));
}

}  // namespace lumora::test
