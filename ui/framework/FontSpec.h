// Fonts as the window framework and the font rules see them: a face, a size
// in whole points, style bits and a colour, with no window handle. Also the
// conversions between points and a LOGFONT's pixel heights.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace lumora {

// Font style bits.
inline constexpr unsigned kFontBold = 1u << 0;
inline constexpr unsigned kFontItalic = 1u << 1;
inline constexpr unsigned kFontUnderline = 1u << 2;
inline constexpr unsigned kFontStrikeOut = 1u << 3;

// A text colour as 0x00BBGGRR, or kDefaultTextColor for the system's window
// text colour.
inline constexpr std::uint32_t kDefaultTextColor = 0xFF000000u;

struct FontSpec {
    std::wstring face;
    int points = 0;  // whole points
    unsigned style = 0;
    std::uint32_t color = kDefaultTextColor;

    bool operator==(const FontSpec& other) const {
        return face == other.face && points == other.points && style == other.style &&
               color == other.color;
    }
    bool operator!=(const FontSpec& other) const { return !(*this == other); }
};

// Font heights in pixels (as in a LOGFONT: negative for the character
// height, positive for the cell height) and whole points at |dpi| dots per
// inch, rounded as Windows' MulDiv rounds: 11 pixels at 96 dpi are 8
// points, 13 are 10, 16 are 12. A dpi that is not positive counts as 96.
int PointsFromHeight(int height, int dpi);
int HeightFromPoints(int points, int dpi);  // negative: a character height

// The font side of a component: what the font rules read and set.
class FontedComponent {
  public:
    virtual ~FontedComponent() = default;
    // Components without a font of their own (images, bevels, menus, bars)
    // answer false; their Font() means nothing.
    virtual bool HasFont() const = 0;
    // True when the component has a parent-font switch and it is on: it
    // takes its parent's font and its own is not used.
    virtual bool ParentFont() const = 0;
    virtual FontSpec Font() const = 0;
    virtual void SetFont(const FontSpec& font) = 0;
};

// The font side of a window: its own font and its components'.
class FontedForm {
  public:
    virtual ~FontedForm() = default;
    virtual FontSpec Font() const = 0;
    virtual void SetFont(const FontSpec& font) = 0;
    // The components the window owns, in the order of ownership.
    virtual std::size_t ComponentCount() const = 0;
    virtual FontedComponent& FontedComponentAt(std::size_t index) = 0;
};

}  // namespace lumora
