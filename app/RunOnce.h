// The single-instance rule and the closing of another instance's windows,
// both by a plain search for a top-level window of a fixed class.
#pragma once

namespace lumora {

// True when a top-level window of the class exists; with |restore| it is
// restored and brought to the front.
bool IsAnotherInstanceRunning(const wchar_t* windowClass, bool restore);

// Sends WM_CLOSE to the window of the class, if there is one, and waits until
// it has been handled.
void CloseWindowOfClass(const wchar_t* windowClass);

}  // namespace lumora
