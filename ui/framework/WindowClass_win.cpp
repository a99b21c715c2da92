#include "ui/framework/WindowClass_win.h"

namespace lumora {

HCURSOR LoadSystemCursor(SystemCursor cursor) {
    return LoadCursorW(nullptr, MAKEINTRESOURCEW(static_cast<WORD>(cursor)));
}

bool RegisterWindowClassOnce(const WindowClassArgs& args) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(instance, args.name, &wc)) {
        return true;
    }
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = args.procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadSystemCursor(SystemCursor::Arrow);
    wc.hbrBackground = args.background;
    wc.hIcon = args.icon;
    wc.lpszClassName = args.name;
    return RegisterClassExW(&wc) != 0;
}

std::wstring WindowText(HWND window) {
    if (window == nullptr) {
        return std::wstring();
    }
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) {
        return std::wstring();
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

}  // namespace lumora
