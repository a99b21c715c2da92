// Fonts of the program's windows. Every window takes the desktop's
// icon-title font (SystemFont_win.h), then NormalizeFormFonts unifies its
// components' fonts with it, before its captions are loaded.
#pragma once

#include "ui/text/Component.h"

namespace lumora {

// No window font is larger than this.
inline constexpr int kMaxFormFontPoints = 9;

// Caps the form's font at kMaxFormFontPoints; then every component with a
// font of its own that does not follow its parent's takes the form font's
// face, and a smaller size is raised to the form font's size. Style and
// colour stay. Any failure ends the operation silently.
void NormalizeFormFonts(Form& form);

// Font heights in pixels (as in a LOGFONT: negative for the character
// height, positive for the cell height) and whole points at |dpi| dots per
// inch, rounded as Windows' MulDiv rounds: 11 pixels at 96 dpi are 8
// points, 13 are 10, 16 are 12. A dpi that is not positive counts as 96.
int PointsFromHeight(int height, int dpi);
int HeightFromPoints(int points, int dpi);  // negative: a character height

}  // namespace lumora
