// Subclassing of controls through common controls' window-subclass calls.
// Windows 2000's common controls export them by number only, so they are
// bound by number at the first call; where they are missing a control simply
// stays as it is.
#pragma once

#include <windows.h>

namespace lumora {

using SubclassProcedure = LRESULT(CALLBACK*)(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

// Sends the window's messages through |procedure| first, with |data|; false
// when the calls are missing.
bool SubclassWindow(HWND window, SubclassProcedure procedure, DWORD_PTR data);
void RemoveSubclass(HWND window, SubclassProcedure procedure);
// Passes a message on to the procedure beneath; only from within |procedure|.
LRESULT DefaultSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace lumora
