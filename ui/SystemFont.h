// Fonts of the program's windows. Every window takes the desktop's
// icon-title font (ui/framework/LogFont_win.h), then NormalizeFormFonts
// unifies its components' fonts with it, before its captions are loaded.
#pragma once

#include "ui/framework/FontSpec.h"

namespace lumora {

// No window font is larger than this.
inline constexpr int kMaxFormFontPoints = 9;

// Caps the form's font at kMaxFormFontPoints; then every component with a
// font of its own that does not follow its parent's takes the form font's
// face, and a smaller size is raised to the form font's size. Style and
// colour stay. Any failure ends the operation silently.
void NormalizeFormFonts(FontedForm& form);

}  // namespace lumora
