// The desktop's icon-title font, the font every window of the program takes
// as its own, and the conversions between Windows' LOGFONT and FontSpec.
#pragma once

#include <windows.h>

#include "ui/framework/FontSpec.h"

namespace lumora {

// The icon-title font (SystemParametersInfoW, SPI_GETICONTITLELOGFONT), or
// the stock system font when that query fails.
LOGFONTW IconTitleLogFont();
// The same, asking |query| in place of SystemParametersInfoW.
using SystemParametersQuery = BOOL(WINAPI*)(UINT action, UINT param, void* data, UINT winIni);
LOGFONTW IconTitleLogFontWith(SystemParametersQuery query);

// The icon-title font as the helpers see fonts, at the screen's dpi.
FontSpec IconTitleFont();

// Logical pixels per inch of the screen (96 when that cannot be read).
int ScreenDpi();

// Face (at most LF_FACESIZE - 1 characters), size and style; bold means a
// weight of FW_BOLD or more. A FontSpec's colour is not part of a LOGFONT.
FontSpec FontSpecFromLogFont(const LOGFONTW& font, int dpi);
LOGFONTW LogFontFromSpec(const FontSpec& font, int dpi);

// Whether two fonts draw alike: the same face (without regard to case),
// size and style. The character set counts only where both name one; the
// pitch, family, precision and quality only guide the choice of a face,
// which is named here.
bool DrawAlike(const LOGFONTW& one, const LOGFONTW& other);
// The same for two font handles; false where either cannot be read.
bool DrawAlike(HFONT one, HFONT other);

}  // namespace lumora
