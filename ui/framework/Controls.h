// The components of the window framework: a small base with a name, a place,
// events and, where it shows text, a font, and one class per kind with the
// few calls of its Windows control. Windowed ones are real Windows controls
// that other processes can find and read. Images and bevels are drawn by
// their parent and have no window of their own. A window holds its
// components as typed members and creates each with a struct of arguments.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/framework/Application.h"
#include "ui/text/Component.h"

namespace lumora {

class Control;
class FormWindow;
class Panel;
enum class ControlEvent { Click, MouseEnter, MouseLeave };
using ControlHandler = std::function<void(Control& sender)>;

// What every component is created with.
struct ControlArgs {
    std::wstring name;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::wstring parent;  // a panel's name; empty for the window itself
    CursorKind cursor = CursorKind::Arrow;
};

struct ImageArgs : ControlArgs {
    int bitmapResource = 0;  // a BITMAP resource, stretched to the bounds
};
struct LabelArgs : ControlArgs {
    FontSpec font;              // its own design font, unless parentFont
    bool parentFont = false;    // takes the window's font
    bool rightAligned = false;  // the right edge stays, the label grows to the left
    bool wordWrap = false;      // fixed size, words wrapped; otherwise sized to its text
    bool showAccelChar = true;  // "&" marks a mnemonic; false shows it literally
    bool transparent = true;
    bool centreVertically = false;  // a word-wrapped label's text block in the middle of its height
};
struct PanelArgs : ControlArgs {
    COLORREF color = CLR_INVALID;  // CLR_INVALID: the button-face colour
};
struct ButtonArgs : ControlArgs {
    FontSpec font;
    bool parentFont = true;
    bool isDefault = false;  // Enter presses it
    bool shield = false;     // the elevation shield
};
struct ComboArgs : ControlArgs {
    std::vector<std::wstring> items;
    std::vector<int> itemImages;      // image index per item
    std::vector<int> imageResources;  // 16 x 16 BITMAP resources of the image list
};
struct TrackBarArgs : ControlArgs {
    int minimum = 0;
    int maximum = 1;
    int pageSize = 1;
    int thumbLength = 26;
};
struct ProgressArgs : ControlArgs {};
struct BevelArgs : ControlArgs {
    bool vertical = false;  // a line along the left edge instead of the top
};
struct MemoArgs : ControlArgs {
    COLORREF color = CLR_INVALID;
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

// What every component has. A component that shows no text answers the
// Component calls with nothing.
class Control : public Component {
  public:
    Control() = default;
    ~Control() override;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Component
    std::wstring Name() const override { return args_.name; }
    ComponentKind Kind() const override { return ComponentKind::Other; }
    std::wstring Caption() const override { return std::wstring(); }
    void SetCaption(const std::wstring&) override {}
    std::wstring Lines() const override { return std::wstring(); }
    void SetLines(const std::wstring&) override {}
    bool HasFont() const override { return false; }
    bool ParentFont() const override { return parentFont_; }
    FontSpec Font() const override { return font_; }
    void SetFont(const FontSpec& font) override;

    const ControlArgs& Args() const { return args_; }
    HWND Handle() const { return hwnd_; }
    // Bounds in the client coordinates of the parent (window or panel).
    RECT Bounds() const;
    virtual bool IsWindowless() const { return false; }
    // The cursor shown over the control.
    virtual CursorKind Cursor() const { return args_.cursor; }

    void Fire(ControlEvent event);
    void On(ControlEvent event, ControlHandler handler);

    // The font the control shows: its own, or the window's when it follows it.
    void ApplyFont(const FontSpec& windowFont);
    // Adds or removes the underline and keeps the other style bits.
    void SetUnderline(bool on);
    void SetEnabled(bool enabled) {
        if (hwnd_ != nullptr) {
            EnableWindow(hwnd_, enabled ? TRUE : FALSE);
        }
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageW(hwnd_, message, wParam, lParam);
    }

  protected:
    friend class FormWindow;
    friend LRESULT CALLBACK ControlProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    // Gives the window the font in font_ (kept when it cannot be made).
    void ShowFont();
    virtual void FontShown() {}
    // Brings a size held back while the window was hidden up to date.
    virtual void SettleLayout() const {}
    // Draws a windowless control on its parent.
    virtual void Draw(HDC, const RECT&) const {}
    // Whether a command notification from the control is a click.
    virtual bool IsClick(UINT /*code*/, LPARAM /*lParam*/) const { return false; }
    // Sets the colours the control is drawn in and gives its background
    // brush; none for the system's colours.
    virtual HBRUSH Colors(HDC) { return nullptr; }

    ControlArgs args_;
    HWND hwnd_ = nullptr;
    FormWindow* form_ = nullptr;
    Panel* parentPanel_ = nullptr;
    FontSpec font_;
    bool parentFont_ = true;
    HFONT hfont_ = nullptr;  // the window's shared font of the design
    UINT id_ = 0;            // control or menu command identifier
    bool hover_ = false;
    bool pressed_ = false;  // the left button went down on it and is still down
    std::vector<std::pair<ControlEvent, ControlHandler>> handlers_;
};

// A bitmap resource stretched to its bounds.
class Image : public Control {
  public:
    ~Image() override;
    bool IsWindowless() const override { return true; }

  protected:
    friend class FormWindow;
    void Draw(HDC dc, const RECT& bounds) const override;
    HBITMAP bitmap_ = nullptr;
};

// An etched line along the top or the left edge.
class Bevel : public Control {
  public:
    bool IsWindowless() const override { return true; }

  protected:
    friend class FormWindow;
    void Draw(HDC dc, const RECT& bounds) const override;
    bool vertical_ = false;
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

// Static text; link labels included. Sized to its text unless it wraps.
class Label : public TextControl {
  public:
    ComponentKind Kind() const override { return ComponentKind::Label; }
    void SetCaption(const std::wstring& text) override;
    // A label without a cursor of its own shows its panel's.
    CursorKind Cursor() const override;
    // Painted by the framework: centred vertically or through a memory bitmap.
    bool PaintsItself() const { return centreVertically_ || doubleBuffered_; }

  protected:
    friend class FormWindow;
    void FontShown() override;
    // A label is clicked by a press and a release on it (see the form's
    // ControlMessage), not by the static control's notification, which
    // comes when the button goes down.
    HBRUSH Colors(HDC dc) override;
    void SettleLayout() const override;
    // Sizes an auto-sized label to its text, measured on |measure| or, when
    // null, on the label's own device context.
    void Resize(HDC measure = nullptr) const;
    void RepaintBeneath(const RECT& before) const;

    bool autoSize_ = true;
    bool rightAligned_ = false;
    bool transparent_ = true;
    bool centreVertically_ = false;
    bool doubleBuffered_ = false;
    mutable bool layoutPending_ = false;  // to be sized when the window shows
};

// A container with a colour and a caption of its own; the track bars on it
// paint their background with its brush.
class Panel : public TextControl {
  public:
    ComponentKind Kind() const override { return ComponentKind::Panel; }
    COLORREF Color() const { return color_ != CLR_INVALID ? color_ : GetSysColor(COLOR_BTNFACE); }
    bool HasColor() const { return color_ != CLR_INVALID; }
    HBRUSH Brush() { return brush_.Of(Color()); }

  protected:
    friend class FormWindow;
    COLORREF color_ = CLR_INVALID;
    SolidBrush brush_;
};

class PushButton : public TextControl {
  public:
    ComponentKind Kind() const override { return ComponentKind::PushButton; }

  protected:
    bool IsClick(UINT code, LPARAM) const override { return code == BN_CLICKED; }
};

// A drop-down list with images.
class ComboBox : public Control {
  public:
    bool HasFont() const override { return true; }
    // The selected item, -1 for none.
    int ItemIndex() const { return hwnd_ != nullptr ? static_cast<int>(Send(CB_GETCURSEL)) : -1; }
    void SetItemIndex(int index) { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }
};

class TrackBar : public Control {
  public:
    int Position() const { return hwnd_ != nullptr ? static_cast<int>(Send(TBM_GETPOS)) : 0; }
    void SetPosition(int position) { Send(TBM_SETPOS, TRUE, position); }

  protected:
    // Its background in its panel's colour.
    HBRUSH Colors(HDC dc) override;
};

class ProgressBar : public Control {
  public:
    int Position() const { return hwnd_ != nullptr ? static_cast<int>(Send(PBM_GETPOS)) : 0; }
    void SetPosition(int position) { Send(PBM_SETPOS, static_cast<WPARAM>(position)); }
};

// A read-only multi-line edit box in a colour of its own.
class Memo : public Control {
  public:
    ComponentKind Kind() const override { return ComponentKind::MultiLineEdit; }
    std::wstring Lines() const override;
    void SetLines(const std::wstring& text) override {
        if (hwnd_ != nullptr) {
            SetWindowTextW(hwnd_, text.c_str());
        }
    }
    bool HasFont() const override { return true; }
    COLORREF Color() const { return color_ != CLR_INVALID ? color_ : GetSysColor(COLOR_WINDOW); }
    HBRUSH Brush() { return brush_.Of(Color()); }

  protected:
    friend class FormWindow;
    HBRUSH Colors(HDC dc) override {
        SetBkColor(dc, Color());
        return Brush();
    }
    COLORREF color_ = CLR_INVALID;
    SolidBrush brush_;
};

class MenuItem : public Control {
  public:
    ComponentKind Kind() const override { return ComponentKind::PopupMenuItem; }
    std::wstring Caption() const override { return caption_; }
    void SetCaption(const std::wstring& text) override;
    // The menu that holds the item.
    HMENU Menu() const { return menu_; }

  protected:
    friend class FormWindow;
    // A command from a menu carries no control window.
    bool IsClick(UINT, LPARAM lParam) const override { return lParam == 0; }
    std::wstring caption_;
    HMENU menu_ = nullptr;
};

// A popup menu owned by the window; it owns menu items and is not one.
class PopupMenu : public Control {
  public:
    ~PopupMenu() override;
    HMENU Menu() const { return menu_; }
    void AddSeparator() { AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr); }

  protected:
    friend class FormWindow;
    HMENU menu_ = nullptr;
};

}  // namespace lumora
