// A top-level window of the framework: a named form with components, and the
// Form view of itself that the caption and font helpers see. It routes the
// messages of itself, its panels and its controls: commands and clicks, hit
// testing of the windowless controls, menus, the keyboard order, focus and
// the default button. Each window of the program derives from it, holds its
// components as typed members and creates them in its own file.
#pragma once

#include <vector>

#include "ui/framework/BaseWindow.h"
#include "ui/framework/Controls.h"
#include "ui/framework/FontCache_win.h"

namespace lumora {

class FormWindow : public BaseWindow, public Form, public FontedForm {
  public:
    FormWindow(const wchar_t* name, const wchar_t* className);
    ~FormWindow() override;

    // Form
    std::wstring Name() const override { return name_; }
    std::wstring Title() const override;
    void SetTitle(const std::wstring& title) override;
    std::size_t ComponentCount() const override { return controls_.size(); }
    Component& ComponentAt(std::size_t index) override { return *controls_[index]; }
    // FontedForm
    FontSpec Font() const override { return font_; }
    void SetFont(const FontSpec& font) override;
    FontedComponent& FontedComponentAt(std::size_t index) override { return *controls_[index]; }

    // Follows the desktop's icon-title font, now and whenever it changes.
    void FollowDesktopFont();
    // Hides the window; it then stays hidden when its owner is restored,
    // also when it was hidden with its minimized owner.
    void Hide();
    // Centres the window over another one (or the screen when null).
    void CentreOver(HWND other);

    // Opens a popup menu with its top-right corner at a screen point.
    void PopupMenuAt(const PopupMenu& menu, int right, int top);
    // Keyboard order: these controls first, in this order.
    void SetTabOrder(const std::vector<const Control*>& controls);

    // Places and sizes are given as designed at 96 dots per inch; the window
    // lays them out at the screen's dpi, read once when it is created.
    int Scale(int designPixels) const;

    // While the window is hidden, labels take new texts and fonts without
    // measuring or repainting anything; each is sized once, before the
    // window shows (or when its bounds are asked for first).
    bool LayoutDeferred() const;

    // How a window is asked to cancel: Esc in it (IDCANCEL from the dialog
    // manager), or a close request (the close box, Alt+F4, WM_CLOSE).
    enum class CancelBy { EscapeKey, CloseRequest };

  protected:
    // The client size is a design size at 96 dpi, as are the components'.
    bool CreateForm(const wchar_t* title, DWORD style, DWORD exStyle, int clientWidth,
                    int clientHeight, HWND owner);
    // Creates a component of the window from its arguments, in the order of
    // ownership; a component inside a panel comes after the panel.
    template <class Kind>
    Kind& Add(Kind& control, const typename Kind::Args& args) {
        control.Create(*this, args);
        return control;
    }
    // From here on, components added are held as they are, without their
    // windows, until MakeHeldWindows: their texts and fonts can then be set
    // first, and each window is made once, at its size, with its text.
    void HoldWindows() { holdingWindows_ = true; }
    // Makes the held windows in the order of ownership, then applies the
    // keyboard order set meanwhile.
    void MakeHeldWindows();

    // The window and its panels paint through a memory bitmap, labels
    // included, so that a changed text never shows half drawn. Called right
    // after CreateForm.
    void UseDoubleBuffering() { doubleBuffered_ = true; }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Called when the window is shown (before it becomes visible); not when
    // it reappears because its owner was restored.
    virtual void FormShow() {}

    // Both end here. By default Esc does nothing and a close request
    // destroys the window, as Windows does.
    virtual void OnCancel(CancelBy how);

  private:
    friend class Control;
    friend LRESULT CALLBACK ControlProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    // Takes the control into the window's components, its place and size
    // laid out at the window's dpi.
    void Adopt(Control& control, const ControlArgs& args);
    // A control being destroyed leaves the window.
    void Forget(Control& control);
    // The control's messages come through ControlMessage (PanelMessage).
    void Subclass(Control& control);
    void SetDefaultButton(Control& button);
    // Deletes the shared fonts that no control shows any more.
    void DropUnusedFonts();
    // Sizes the labels held back while the window was hidden.
    void SettleLayout();
    Control* FromId(UINT id) const;
    Control* FromHandle(HWND window) const;
    Control* WindowlessAt(HWND parent, POINT point) const;
    HWND ParentHandleOf(const Control& control) const;
    // Raises the control's event of that kind, if it raises one.
    static void Raise(Control& control, Control::EventKind kind);

    // Painting (FormPaint_win.cpp). The windowless controls of |parent|.
    void PaintWindowless(HWND parent, HDC dc) const;
    // A double-buffered window or panel paints |area| of itself, its labels
    // included, in one copy to |target|.
    void PaintBuffered(HWND window, HDC target, const RECT& area) const;
    // A label's own WM_PAINT when it is centred vertically or double-buffered.
    void PaintLabel(Label& label) const;
    COLORREF BackgroundOf(HWND window) const;

    void TrackWindowlessHover(HWND parent, POINT point);
    // A windowless control is clicked when the left button goes down and
    // comes up again over it.
    void PressWindowless(HWND parent, POINT point);
    void ReleaseWindowless(HWND parent, POINT point);
    // Focus as in a dialog: the focused control is kept when the window is
    // deactivated and given back when it is activated again; without one
    // (or when it can no longer take the focus), the first control of the
    // keyboard order takes it.
    void SaveFocus();
    void RestoreFocus();
    // The push button that Enter presses: the focused one, otherwise the
    // window's own default button; it alone shows the default border.
    Control* DefaultButton() const;
    void ShowDefaultButton(const Control* button);
    // The focus moves: a push button that takes it becomes the default,
    // and the window's own default comes back when one loses it to a
    // control that is no push button of the window.
    void FocusTaken(Control& control);
    void FocusLost(Control& control, HWND next);
    // What the window and its panels, the containers of controls, handle
    // alike: commands, colours, paint, the windowless controls' hover and
    // clicks, and the cursor.
    LRESULT ContainerMessage(HWND container, UINT message, WPARAM wParam, LPARAM lParam,
                             bool& handled);
    LRESULT PanelMessage(Panel& panel, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT ControlMessage(Control& control, UINT message, WPARAM wParam, LPARAM lParam);

    std::wstring name_;
    const wchar_t* className_;
    FontSpec font_;
    FontCache fonts_;  // deleted once the window is gone
    bool followsDesktopFont_ = false;
    bool doubleBuffered_ = false;
    bool holdingWindows_ = false;
    std::vector<const Control*> tabOrder_;  // set while the windows were held
    bool shown_ = false;                    // shown by the program and not hidden since
    bool followingOwner_ = false;           // hidden or shown with its owner: no FormShow
    std::vector<Control*> controls_;        // in the order of ownership
    Control* hoverWindowless_ = nullptr;
    Control* pressedWindowless_ = nullptr;  // pressed and not yet released
    HWND focus_ = nullptr;                  // the control focused when last deactivated
    int layoutDpi_ = 96;
    const Control* shownDefault_ = nullptr;  // the button with the default border
    UINT defaultButtonId_ = 0;
    UINT nextId_ = 100;
};

}  // namespace lumora
