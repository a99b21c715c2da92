#include "ui/framework/LogFont_win.h"

#include <cstdlib>

namespace lumora {

LOGFONTW IconTitleLogFontWith(SystemParametersQuery query) {
    LOGFONTW font{};
    if (query != nullptr && query(SPI_GETICONTITLELOGFONT, sizeof(font), &font, 0)) {
        return font;
    }
    font = LOGFONTW{};
    HGDIOBJ stock = GetStockObject(SYSTEM_FONT);
    if (stock == nullptr || GetObjectW(stock, sizeof(font), &font) != sizeof(font)) {
        font = LOGFONTW{};
    }
    return font;
}

LOGFONTW IconTitleLogFont() {
    return IconTitleLogFontWith(SystemParametersInfoW);
}

FontSpec IconTitleFont() {
    return FontSpecFromLogFont(IconTitleLogFont(), ScreenDpi());
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        return 96;
    }
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

FontSpec FontSpecFromLogFont(const LOGFONTW& font, int dpi) {
    FontSpec design;
    std::size_t length = 0;
    while (length < LF_FACESIZE && font.lfFaceName[length] != L'\0') {
        ++length;
    }
    design.face.assign(font.lfFaceName, length);
    // Half a point rounds down: the system scales its 96-dpi fonts to
    // other dpi settings in whole pixels, and a font of 8.5 points (17
    // pixels at 144 dpi, the 11 of 96 dpi scaled) is the 8-point font
    // scaled, which the windows' layout scales with; 9 points would outgrow it.
    design.points = PointsFromHeight(font.lfHeight, dpi);
    if (design.points > 1 &&
        std::abs(static_cast<long long>(font.lfHeight)) * 144 ==
            static_cast<long long>(2 * design.points - 1) * (dpi > 0 ? dpi : 96)) {
        --design.points;
    }
    design.style = (font.lfWeight >= FW_BOLD ? kFontBold : 0u) |
                   (font.lfItalic != 0 ? kFontItalic : 0u) |
                   (font.lfUnderline != 0 ? kFontUnderline : 0u) |
                   (font.lfStrikeOut != 0 ? kFontStrikeOut : 0u);
    return design;
}

LOGFONTW LogFontFromSpec(const FontSpec& design, int dpi) {
    LOGFONTW font{};
    font.lfHeight = HeightFromPoints(design.points, dpi);
    font.lfWeight = (design.style & kFontBold) != 0 ? FW_BOLD : FW_NORMAL;
    font.lfItalic = (design.style & kFontItalic) != 0 ? TRUE : FALSE;
    font.lfUnderline = (design.style & kFontUnderline) != 0 ? TRUE : FALSE;
    font.lfStrikeOut = (design.style & kFontStrikeOut) != 0 ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    const std::size_t length =
        design.face.size() < LF_FACESIZE ? design.face.size() : LF_FACESIZE - 1;
    design.face.copy(font.lfFaceName, length);
    font.lfFaceName[length] = L'\0';
    return font;
}

bool DrawAlike(const LOGFONTW& one, const LOGFONTW& other) {
    const bool sameCharSet = one.lfCharSet == other.lfCharSet || one.lfCharSet == DEFAULT_CHARSET ||
                             other.lfCharSet == DEFAULT_CHARSET;
    const std::wstring face = FontSpecFromLogFont(one, 96).face;
    const std::wstring otherFace = FontSpecFromLogFont(other, 96).face;
    return !face.empty() && lstrcmpiW(face.c_str(), otherFace.c_str()) == 0 &&
           one.lfHeight == other.lfHeight && one.lfWidth == other.lfWidth &&
           one.lfEscapement == other.lfEscapement && one.lfOrientation == other.lfOrientation &&
           one.lfWeight == other.lfWeight && (one.lfItalic != 0) == (other.lfItalic != 0) &&
           (one.lfUnderline != 0) == (other.lfUnderline != 0) &&
           (one.lfStrikeOut != 0) == (other.lfStrikeOut != 0) && sameCharSet;
}

bool DrawAlike(HFONT one, HFONT other) {
    LOGFONTW first{};
    LOGFONTW second{};
    return one != nullptr && other != nullptr &&
           GetObjectW(one, sizeof(first), &first) == static_cast<int>(sizeof(first)) &&
           GetObjectW(other, sizeof(second), &second) == static_cast<int>(sizeof(second)) &&
           DrawAlike(first, second);
}

}  // namespace lumora
