// The pointer over the program's links and clickable images: the system's
// own hand cursor.
#pragma once

#include <windows.h>

namespace lumora {

// Loads the system's hand cursor. Called once at start-up, before any window
// exists; later calls change nothing.
void LoadNativeHandCursor();

// The cursor for links and clickable images: the system's hand, or the arrow
// on a system that has no hand cursor (never none, which would hide the
// pointer).
HCURSOR HandCursor();

}  // namespace lumora
