#include "ui/framework/BaseWindow.h"

#include "ui/framework/WindowClass_win.h"

namespace lumora {

bool BaseWindow::Create(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle,
                        int clientWidth, int clientHeight, HWND owner) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterWindowClassOnce({className, WindowProc,
                                  reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                                  LoadIconW(instance, MAKEINTRESOURCEW(1))})) {
        return false;
    }
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    return CreateWindowExW(exStyle, className, title, style, left, top, width, height, owner,
                           nullptr, instance, this) != nullptr;
}

LRESULT BaseWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK BaseWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    BaseWindow* self = nullptr;
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        self = static_cast<BaseWindow*>(create->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<BaseWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (self == nullptr) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    try {
        const LRESULT result = self->HandleMessage(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    } catch (...) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace lumora
