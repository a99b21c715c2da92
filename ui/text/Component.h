// What the caption and font helpers see of a window: a form with a name, a
// title and a font, owning named components of a few kinds. The window
// framework implements it over real windows; the helpers only read and set
// these properties and never see a window handle.
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

enum class ComponentKind {
    Label,  // static text, link labels included
    Panel,  // a container with a caption of its own
    PushButton,
    PopupMenuItem,
    MultiLineEdit,  // a memo: its text is its whole content
    Other,          // images, bevels, lists, bars, ...: no caption
};

class Component {
  public:
    virtual ~Component() = default;

    virtual std::wstring Name() const = 0;
    virtual ComponentKind Kind() const = 0;

    // The visible text of a label, panel, push button or menu item.
    virtual std::wstring Caption() const = 0;
    virtual void SetCaption(const std::wstring& text) = 0;
    // The whole content of a multi-line edit box, lines joined by CR LF.
    virtual std::wstring Lines() const = 0;
    virtual void SetLines(const std::wstring& text) = 0;

    // Components without a font of their own (images, bevels, menus, bars)
    // answer false; their Font() means nothing.
    virtual bool HasFont() const = 0;
    // True when the component has a parent-font switch and it is on: it
    // takes its parent's font and its own is not used.
    virtual bool ParentFont() const = 0;
    virtual FontSpec Font() const = 0;
    virtual void SetFont(const FontSpec& font) = 0;
};

class Form {
  public:
    virtual ~Form() = default;

    // The window's name as a component (LMMainForm, ...).
    virtual std::wstring Name() const = 0;
    virtual std::wstring Title() const = 0;
    virtual void SetTitle(const std::wstring& title) = 0;
    virtual FontSpec Font() const = 0;
    virtual void SetFont(const FontSpec& font) = 0;

    // The components the window owns, in the order of ownership.
    virtual std::size_t ComponentCount() const = 0;
    virtual Component& ComponentAt(std::size_t index) = 0;
};

// The first component of |form| named |name| without regard to ASCII case;
// null when there is none.
Component* FindComponent(Form& form, const std::wstring& name);

}  // namespace lumora
