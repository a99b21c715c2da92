// Real keyboard and mouse input, as a person gives it: SendInput puts it in
// the system's input stream, so it reaches whatever window is in the
// foreground and whatever control has the focus there, and goes through the
// program's own message loop on the way.
#pragma once

#include <windows.h>

namespace lumora::test {

// A key pressed and released; with |modifier| (VK_SHIFT, VK_MENU, ...) held
// down around it when it is not 0.
void PressKey(WORD key, WORD modifier = 0);
// The pointer moved to a point of the screen.
void MovePointer(POINT screen);
// The left button pressed or released with the pointer at a point of the
// screen. Each button event carries the point, as a mouse's report does:
// under Wine, a press with no point of its own sent just after a move onto a
// window that had just been shown now and then never reached that window.
void LeftButton(POINT screen, bool down);
// A click: the pointer moved to a point, the left button pressed and
// released there.
void ClickAt(POINT screen);
// The centre of a window on the screen.
POINT CentreOf(HWND window);

// The control with the keyboard focus in the thread that owns |window|, and
// that thread's active window; null when there is none.
HWND FocusOf(HWND window);
HWND ActiveOf(HWND window);
// Whether |control| has the focus: itself, or a window inside it (a list's
// edit field).
bool HasFocus(HWND control);

}  // namespace lumora::test
