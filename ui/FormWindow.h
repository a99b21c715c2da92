// A top-level window of the framework: a named form that owns named
// components, binds their events by name, and gives the caption and font
// helpers the Form view of itself. Each window of the program derives from
// it and describes its components in its own file.
#pragma once

#include <memory>
#include <vector>

#include "ui/BaseWindow.h"
#include "ui/Controls.h"

namespace lumora {

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

class FormWindow : public BaseWindow, public Form {
  public:
    FormWindow(const wchar_t* name, const wchar_t* className);
    ~FormWindow() override;

    // Form
    std::wstring Name() const override { return name_; }
    std::wstring Title() const override;
    void SetTitle(const std::wstring& title) override;
    FontSpec Font() const override { return font_; }
    void SetFont(const FontSpec& font) override;
    std::size_t ComponentCount() const override { return controls_.size(); }
    Component& ComponentAt(std::size_t index) override { return *controls_[index]; }

    Control* Find(const std::wstring& name) const;
    Control& Get(const std::wstring& name) const;  // throws when missing
    void Bind(const std::wstring& name, ControlEvent event, ControlHandler handler);

    // Follows the desktop's icon-title font, now and whenever it changes.
    void FollowDesktopFont();
    // Hides the window; it then stays hidden when its owner is restored,
    // also when it was hidden with its minimized owner.
    void Hide();
    // Centres the window over another one (or the screen when null).
    void CentreOver(HWND other);

    // Popup menus: a menu owned by the window, its items components.
    Control& AddPopupMenu(const std::wstring& name);
    Control& AddMenuItem(const std::wstring& menu, const std::wstring& name);
    void AddMenuSeparator(const std::wstring& menu);
    // Opens a popup menu with its top-right corner at a screen point.
    void PopupMenuAt(const std::wstring& menu, int right, int top);

    // The combo box's selected item (-1 for none) and the track and progress
    // bars' positions.
    int ItemIndex(const std::wstring& combo) const;
    void SetItemIndex(const std::wstring& combo, int index);
    int Position(const std::wstring& bar) const;
    void SetPosition(const std::wstring& bar, int position);
    // Keyboard order: the named controls first, in this order.
    void SetTabOrder(const std::vector<std::wstring>& names);

  protected:
    bool CreateForm(const wchar_t* title, DWORD style, DWORD exStyle, int clientWidth,
                    int clientHeight, HWND owner);
    Control& AddImage(const ImageArgs& args);
    Control& AddLabel(const LabelArgs& args);
    Control& AddPanel(const PanelArgs& args);
    Control& AddButton(const ButtonArgs& args);
    Control& AddComboBox(const ComboArgs& args);
    Control& AddTrackBar(const TrackBarArgs& args);
    Control& AddProgressBar(const ProgressArgs& args);
    Control& AddBevel(const BevelArgs& args);
    Control& AddMemo(const MemoArgs& args);

    // The window and its panels paint through a memory bitmap, labels
    // included, so that a changed text never shows half drawn. Called right
    // after CreateForm.
    void UseDoubleBuffering() { doubleBuffered_ = true; }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Called when the window is shown (before it becomes visible); not when
    // it reappears because its owner was restored.
    virtual void FormShow() {}

  private:
    friend LRESULT CALLBACK PanelProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK ControlSubclassProc(HWND, UINT, WPARAM, LPARAM);
    Control& Adopt(std::unique_ptr<Control> control);
    HWND ParentHandle(const ControlArgs& args);
    // The control takes the window's font, or a design font of its own.
    void UseFont(Control& control, bool parentFont, const FontSpec& ownFont);
    Control& PopupMenuNamed(const std::wstring& menu) const;  // throws when it is none
    Control* FromId(UINT id) const;
    Control* WindowlessAt(HWND parent, POINT point) const;
    HWND ParentHandleOf(const Control& control) const;
    void PaintWindowless(HWND parent, HDC dc) const;
    // A double-buffered window or panel paints |area| of itself, its labels
    // included, in one copy to |target|.
    void PaintBuffered(HWND window, HDC target, const RECT& area) const;
    // A label's own WM_PAINT when it is centred vertically or double-buffered.
    void PaintLabel(Control& label) const;
    COLORREF BackgroundOf(HWND window) const;
    LRESULT ColorStatic(HDC dc, HWND control);
    void TrackWindowlessHover(HWND parent, POINT point);
    bool SetHoverCursor(HWND parent);
    LRESULT ChildMessage(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

    std::wstring name_;
    const wchar_t* className_;
    FontSpec font_;
    bool followsDesktopFont_ = false;
    bool doubleBuffered_ = false;
    bool shown_ = false;           // shown by the program and not hidden since
    bool followingOwner_ = false;  // hidden or shown with its owner: no FormShow
    std::vector<std::unique_ptr<Control>> controls_;
    Control* hoverWindowless_ = nullptr;
    UINT defaultButtonId_ = 0;
    UINT nextId_ = 100;
    mutable HBRUSH windowBrush_ = nullptr;
    mutable HBRUSH panelBrush_ = nullptr;
};

}  // namespace lumora
