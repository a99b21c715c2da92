// What every component of the window framework has: a name, a place, a
// parent (the window or a panel of it), a cursor, a hint and, where it
// shows text, a font. Each kind of control has a file of its own, creates
// itself from its nested Args and offers as typed members only the events
// it raises. Windowed controls are real Windows controls that other
// processes can find and read; images and bevels are drawn by their parent
// and have no window of their own.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>

#include "ui/framework/CursorKind.h"
#include "ui/framework/FontSpec.h"
#include "ui/text/Component.h"

namespace lumora {

class FormWindow;
class Panel;

// One event of a control: the handler the window that holds the control
// sets. Raised by the framework alone.
class Event {
  public:
    Event& operator=(std::function<void()> handler) {
        handler_ = std::move(handler);
        return *this;
    }

  private:
    friend class FormWindow;
    // Every event handler swallows its faults.
    void Raise() const;
    std::function<void()> handler_;
};

// The events of a control that the pointer clicks and hovers over.
struct PointerEvents {
    Event onClick;       // pressed and released on it
    Event onMouseEnter;  // the pointer comes over it
    Event onMouseLeave;  // the pointer leaves it
};

// What every component is created with: design places and sizes at 96 dpi.
// Given in braces in this order; the constructor spares GCC's optimizer a
// false "may be used uninitialized" over the braced temporaries.
struct ControlArgs {
    ControlArgs() = default;
    ControlArgs(std::wstring controlName, int controlLeft = 0, int controlTop = 0,
                int controlWidth = 0, int controlHeight = 0, Panel* parentPanel = nullptr,
                CursorKind cursorKind = CursorKind::Arrow)
        : name(std::move(controlName)),
          left(controlLeft),
          top(controlTop),
          width(controlWidth),
          height(controlHeight),
          parent(parentPanel),
          cursor(cursorKind) {}

    std::wstring name;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    Panel* parent = nullptr;  // the panel it lies on; null for the window itself
    CursorKind cursor = CursorKind::Arrow;
};

class Control : public Component, public FontedComponent {
  public:
    Control() = default;
    ~Control() override;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Component. A component that shows no text answers with nothing.
    std::wstring Name() const override { return args_.name; }
    ComponentKind Kind() const override { return ComponentKind::Other; }
    std::wstring Caption() const override { return std::wstring(); }
    void SetCaption(const std::wstring&) override {}
    std::wstring Lines() const override { return std::wstring(); }
    void SetLines(const std::wstring&) override {}
    // FontedComponent
    bool HasFont() const override { return false; }
    bool ParentFont() const override { return parentFont_; }
    FontSpec Font() const override { return font_; }
    void SetFont(const FontSpec& font) override;

    // Place and size as laid out at the window's dpi.
    const ControlArgs& Placement() const { return args_; }
    HWND Handle() const { return hwnd_; }
    // Bounds in the client coordinates of the parent (window or panel).
    RECT Bounds() const;
    // Adds or removes the underline and keeps the other style bits.
    void SetUnderline(bool on);
    void SetEnabled(bool enabled);
    // The hint shown while the pointer rests on a windowed control; the
    // text up to a "|" is shown. Empty for none.
    void SetHint(const std::wstring& hint);
    const std::wstring& Hint() const { return hint_; }

  protected:
    friend class FormWindow;
    friend LRESULT CALLBACK ControlProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    enum class EventKind { Click, MouseEnter, MouseLeave };
    // The event of the kind the control raises; null for a kind it does not.
    virtual Event* EventOf(EventKind) { return nullptr; }
    static Event* PointerEvent(PointerEvents& events, EventKind kind);

    virtual bool IsWindowless() const { return false; }
    // The cursor shown over the control.
    virtual CursorKind Cursor() const { return args_.cursor; }
    // Gives the window the font in font_ (kept when it cannot be made).
    void ShowFont();
    virtual void FontShown() {}
    // Brings a size held back while the window was hidden up to date.
    virtual void SettleLayout() const {}
    // Draws a windowless control on its parent.
    virtual void Draw(HDC, const RECT&) const {}
    // Whether a command notification from the control is a click.
    virtual bool IsClick(UINT /*code*/, LPARAM /*lParam*/) const { return false; }
    // Sets the text and background colours the control is drawn in on |dc|
    // and gives its background brush; null for the system's colours.
    virtual HBRUSH SetColorsAndGetBrush(HDC) { return nullptr; }

    // Creation, for each kind: joins the window's components with its
    // place and size laid out at the window's dpi.
    void Join(FormWindow& form, const ControlArgs& args);
    // Makes the control's window now, or, while the form holds the windows
    // of its components back, once the form makes them.
    void MakeWindowUnlessHeld();
    // Makes the control's window from what the control holds: its place,
    // text, font and enabled state; |measure| is a memory device context to
    // measure text on. Windowless controls have none to make.
    virtual void MakeWindow(HDC /*measure*/) {}
    // Creates the control's window at its laid-out place (or at |place|),
    // showing |text|; |extraHeight| is added to its height (a drop-down
    // list's room). Disabled when the control was disabled beforehand.
    HWND CreateChild(const wchar_t* windowClass, DWORD style, DWORD exStyle, int extraHeight = 0,
                     const std::wstring& text = std::wstring(), const RECT* place = nullptr);
    // The window's shared font for the control's font; null when it cannot
    // be made.
    HFONT SharedFont() const;
    // Sends the window's messages through the form first.
    void Subclass();
    // The control takes the window's font, or a design font of its own.
    void TakeFont(bool parentFont, const FontSpec& ownFont);
    // The font the control shows: its own, or the window's when it follows it.
    void ApplyFont(const FontSpec& windowFont);
    // A command identifier of the window's, for a control or a menu item.
    UINT NewCommandId();
    // The push button becomes the window's default one.
    void BecomeDefaultButton();
    // The window paints through a memory bitmap.
    bool FormDoubleBuffered() const;
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageW(hwnd_, message, wParam, lParam);
    }

    ControlArgs args_;
    HWND hwnd_ = nullptr;
    FormWindow* form_ = nullptr;
    FontSpec font_;
    bool parentFont_ = true;
    HFONT hfont_ = nullptr;  // the window's shared font of the design
    UINT id_ = 0;            // control or menu command identifier
    bool enabled_ = true;
    bool windowHeld_ = false;  // its window is made when the form makes the held ones
    bool hover_ = false;
    bool pressed_ = false;  // the left button went down on it and is still down
    std::wstring hint_;
};

// A brush of one solid colour, made anew when the colour changes; each
// control that paints with a brush has its own.
class SolidBrush {
  public:
    SolidBrush() = default;
    ~SolidBrush();
    SolidBrush(const SolidBrush&) = delete;
    SolidBrush& operator=(const SolidBrush&) = delete;
    HBRUSH Of(COLORREF color);

  private:
    HBRUSH brush_ = nullptr;
    COLORREF color_ = CLR_INVALID;
};

// A windowed control that shows a caption as its window text, in a font of
// its own or its parent's.
class TextControl : public Control {
  public:
    std::wstring Caption() const override { return caption_; }
    void SetCaption(const std::wstring& text) override;
    bool HasFont() const override { return true; }

  protected:
    std::wstring caption_;
};

}  // namespace lumora
