// The window art: bitmap resources loaded as DIB sections (run-length
// compressed ones expanded), and drawn blended, copied or stretched.
#pragma once

#include <windows.h>

namespace lumora {

// The BITMAP resource |resource| of the program, its colours multiplied by
// its alpha when it has any; null when it cannot be loaded.
HBITMAP LoadArt(int resource);

// Draws the bitmap into |to|: blended when it has alpha, else copied or
// stretched.
void DrawArt(HDC dc, HBITMAP bitmap, const RECT& to);

}  // namespace lumora
