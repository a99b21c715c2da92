// What the caption helpers see of a window: a form with a name and a title,
// owning named components of a few kinds. The window framework implements
// it over real windows (and adds their fonts); the helpers only read and set
// these properties and never see a window handle.
#pragma once

#include <cstddef>
#include <string>

namespace lumora {

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
};

class Form {
  public:
    virtual ~Form() = default;

    // The window's name as a component (LMMainForm, ...).
    virtual std::wstring Name() const = 0;
    virtual std::wstring Title() const = 0;
    virtual void SetTitle(const std::wstring& title) = 0;

    // The components the window owns, in the order of ownership.
    virtual std::size_t ComponentCount() const = 0;
    virtual Component& ComponentAt(std::size_t index) = 0;
};

// The first component of |form| named |name| without regard to ASCII case;
// null when there is none.
Component* FindComponent(Form& form, const std::wstring& name);

}  // namespace lumora
