// Window classes and window texts, the few calls every window of the
// framework makes alike.
#pragma once

#include <windows.h>

#include <string>

namespace lumora {

// The system's own cursors, by the numbers LoadCursor knows them by.
enum class SystemCursor : WORD { Arrow = 32512, Wait = 32514 };
HCURSOR LoadSystemCursor(SystemCursor cursor);

// What a window class of the program is made of; the arrow is its cursor.
struct WindowClassArgs {
    const wchar_t* name = nullptr;
    WNDPROC procedure = DefWindowProcW;
    HBRUSH background = nullptr;
    HICON icon = nullptr;
};

// Registers the class in this module unless it is registered already; false
// when it is neither.
bool RegisterWindowClassOnce(const WindowClassArgs& args);

// The window's whole text, however long; empty for no window.
std::wstring WindowText(HWND window);

}  // namespace lumora
