// Finding and driving Lumora's windows from another process, as a user or an
// accessibility tool would: windows by class, controls by class and text.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace lumora::test {

std::wstring WindowText(HWND window);
std::wstring ClassOf(HWND window);
// The descendants of |parent| of a class, ordered top to bottom, then left
// to right, by their place on the screen.
std::vector<HWND> ControlsOfClass(HWND parent, const wchar_t* className);
// The first descendant of a class whose text is |text| (or starts with it
// when |prefix|).
HWND FindControl(HWND parent, const wchar_t* className, const std::wstring& text,
                 bool prefix = false);
// A click on a control as the mouse gives it (button down and up at its
// centre), sent to the window itself.
void ClickControl(HWND control);
// How many pixels of the window's area on the screen are darker than
// |threshold| (0..255 on each channel): what a user sees of its text.
int DarkPixels(HWND window, int threshold = 96);
// Saves what the screen shows of the window's area as a 24-bit .bmp file;
// false when nothing was saved.
bool SaveScreenshot(HWND window, const std::wstring& bmpPath);
// Moves the pointer onto the centre of a control, and off again.
void HoverControl(HWND control);
void MovePointerAway();

}  // namespace lumora::test
