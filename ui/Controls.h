// The components of the window framework: each one has a name, a kind, a
// place, and where it shows text a caption and a font; windowed ones are real
// Windows controls that other processes can find and read. Images and bevels
// are drawn by their parent and have no window of their own.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/Application.h"
#include "ui/Component.h"

namespace lumora {

class Control;
LRESULT CALLBACK PanelProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ControlSubclassProc(HWND, UINT, WPARAM, LPARAM);
HFONT CreateFontFrom(const FontSpec& font);
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

enum class ControlType {
    Image,
    Label,
    Panel,
    PushButton,
    ComboBox,
    TrackBar,
    ProgressBar,
    Bevel,
    Memo,
    MenuItem,
    PopupMenu,  // owns menu items; not an item itself
};

class Control : public Component {
  public:
    Control(ControlType type, const ControlArgs& args);
    ~Control() override;

    // Component
    std::wstring Name() const override { return args_.name; }
    ComponentKind Kind() const override;
    std::wstring Caption() const override;
    void SetCaption(const std::wstring& text) override;
    std::wstring Lines() const override;
    void SetLines(const std::wstring& text) override;
    bool HasFont() const override;
    bool ParentFont() const override { return parentFont_; }
    FontSpec Font() const override { return font_; }
    void SetFont(const FontSpec& font) override;

    ControlType Type() const { return type_; }
    const ControlArgs& Args() const { return args_; }
    HWND Handle() const { return hwnd_; }
    // A popup menu's menu, or the menu that holds a menu item.
    HMENU Menu() const { return menu_; }
    Control* ParentPanel() const { return parentPanel_; }
    // Bounds in the client coordinates of the parent (window or panel).
    RECT Bounds() const;
    bool IsWindowless() const { return type_ == ControlType::Image || type_ == ControlType::Bevel; }
    // The cursor shown over the control: a label without a cursor of its own
    // shows its panel's.
    CursorKind Cursor() const;

    void Fire(ControlEvent event);
    void On(ControlEvent event, ControlHandler handler);
    bool HasHandler(ControlEvent event) const;

    // The font the control shows: its own, or the window's when it follows it.
    void ApplyFont(const FontSpec& windowFont);
    // Adds or removes the underline and keeps the other style bits.
    void SetUnderline(bool on);
    void SetEnabled(bool enabled);
    bool Enabled() const;

  protected:
    friend class FormWindow;
    friend LRESULT CALLBACK PanelProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK ControlSubclassProc(HWND, UINT, WPARAM, LPARAM);
    void Resize();  // labels size themselves to their text
    // Gives the window the font in font_ (kept when it cannot be made).
    void ShowFont();
    void RepaintBeneath(const RECT& before) const;

    ControlType type_;
    ControlArgs args_;
    HWND hwnd_ = nullptr;
    Control* parentPanel_ = nullptr;
    FontSpec font_;
    bool parentFont_ = true;
    HFONT hfont_ = nullptr;
    std::wstring caption_;
    // Label options.
    bool autoSize_ = true;
    bool rightAligned_ = false;
    bool transparent_ = true;
    bool centreVertically_ = false;
    bool doubleBuffered_ = false;  // painted through a memory bitmap
    // Image and panel options.
    HBITMAP bitmap_ = nullptr;
    COLORREF color_ = CLR_INVALID;
    bool verticalLine_ = false;
    // Menu items.
    HMENU menu_ = nullptr;
    UINT id_ = 0;  // control or menu command identifier
    std::vector<std::pair<ControlEvent, ControlHandler>> handlers_;
    bool hover_ = false;
};

}  // namespace lumora
