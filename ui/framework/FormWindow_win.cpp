#include "ui/framework/FormWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "ui/framework/Application.h"
#include "ui/framework/LogFont_win.h"
#include "ui/framework/ScopedGdi.h"
#include "ui/framework/WindowClass_win.h"
#include "ui/framework/WindowSubclass.h"

namespace lumora {

namespace {

void InitCommonControlsOnce() {
    static bool done = false;
    if (!done) {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_USEREX_CLASSES |
                                                  ICC_BAR_CLASSES | ICC_PROGRESS_CLASS |
                                                  ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        done = true;
    }
}

}  // namespace

LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR data);

FormWindow::FormWindow(const wchar_t* name, const wchar_t* className)
    : name_(name), className_(className), font_(IconTitleFont()) {}

FormWindow::~FormWindow() {
    if (Handle() != nullptr) {
        DestroyWindow(Handle());
    }
    for (Control* control : controls_) {
        control->hwnd_ = nullptr;
        control->hfont_ = nullptr;
    }
}

bool FormWindow::CreateForm(const wchar_t* title, DWORD style, DWORD exStyle, int clientWidth,
                            int clientHeight, HWND owner) {
    InitCommonControlsOnce();
    layoutDpi_ = ScreenDpi();
    return Create(className_, title, style, exStyle, Scale(clientWidth), Scale(clientHeight),
                  owner);
}

int FormWindow::Scale(int designPixels) const {
    // Rounded down: a design whose edges meet (a heading right above its
    // control) keeps them meeting where text grows a little faster than
    // the scale, as it does with the font's rounding.
    return designPixels * layoutDpi_ / 96;
}

std::wstring FormWindow::Title() const {
    if (Handle() == nullptr) {
        return std::wstring();
    }
    return WindowText(Handle());
}

void FormWindow::SetTitle(const std::wstring& title) {
    if (Handle() != nullptr) {
        SetWindowTextW(Handle(), title.c_str());
    }
}

void FormWindow::SetFont(const FontSpec& font) {
    font_ = font;
    for (Control* control : controls_) {
        control->ApplyFont(font_);
    }
    DropUnusedFonts();
    if (Handle() != nullptr && !LayoutDeferred()) {
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

void FormWindow::DropUnusedFonts() {
    fonts_.DropUnused([this](HFONT font) {
        return std::any_of(controls_.begin(), controls_.end(),
                           [font](const Control* control) { return control->hfont_ == font; });
    });
}

bool FormWindow::LayoutDeferred() const {
    return Handle() != nullptr && !IsWindowVisible(Handle());
}

void FormWindow::SettleLayout() {
    // Every label held back is measured on one memory context.
    std::unique_ptr<ScopedMemoryDc> measure;
    for (const Control* control : controls_) {
        const auto* label = dynamic_cast<const Label*>(control);
        if (label == nullptr || !label->layoutPending_) {
            continue;
        }
        if (!measure) {
            measure = std::make_unique<ScopedMemoryDc>(nullptr);
        }
        label->Resize(measure->Get());
    }
}

void FormWindow::FollowDesktopFont() {
    followsDesktopFont_ = true;
    SetFont(IconTitleFont());
}

void FormWindow::Hide() {
    shown_ = false;
    ShowWindow(Handle(), SW_HIDE);
}

void FormWindow::CentreOver(HWND other) {
    RECT mine{};
    GetWindowRect(Handle(), &mine);
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (other != nullptr) {
        GetWindowRect(other, &area);
    }
    const int width = mine.right - mine.left;
    const int height = mine.bottom - mine.top;
    const int left = area.left + (area.right - area.left - width) / 2;
    const int top = area.top + (area.bottom - area.top - height) / 2;
    SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::Adopt(Control& control, const ControlArgs& args) {
    control.args_ = args;
    // The edges are scaled, so that components that meet or share an edge
    // in the design still do.
    control.args_.left = Scale(args.left);
    control.args_.top = Scale(args.top);
    control.args_.width = Scale(args.left + args.width) - control.args_.left;
    control.args_.height = Scale(args.top + args.height) - control.args_.top;
    control.form_ = this;
    controls_.push_back(&control);
}

void FormWindow::Forget(Control& control) {
    RemoveSubclass(control.hwnd_, ControlProc);
    controls_.erase(std::remove(controls_.begin(), controls_.end(), &control), controls_.end());
    if (hoverWindowless_ == &control) {
        hoverWindowless_ = nullptr;
    }
    if (pressedWindowless_ == &control) {
        pressedWindowless_ = nullptr;
    }
    if (shownDefault_ == &control) {
        shownDefault_ = nullptr;
    }
    control.form_ = nullptr;
}

void FormWindow::Subclass(Control& control) {
    SubclassWindow(control.hwnd_, ControlProc, reinterpret_cast<DWORD_PTR>(&control));
}

void FormWindow::SetDefaultButton(Control& button) {
    defaultButtonId_ = button.id_;
    shownDefault_ = &button;
}

void FormWindow::Raise(Control& control, Control::EventKind kind) {
    if (const Event* event = control.EventOf(kind)) {
        event->Raise();
    }
}

void FormWindow::OnCancel(CancelBy how) {
    if (how == CancelBy::CloseRequest) {
        DestroyWindow(Handle());
    }
}

void FormWindow::PopupMenuAt(const PopupMenu& menu, int right, int top) {
    if (menu.Menu() == nullptr) {
        return;
    }
    SetForegroundWindow(Handle());
    TrackPopupMenu(menu.Menu(),
                   TPM_RIGHTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_VERPOSANIMATION, right, top,
                   0, Handle(), nullptr);
    PostMessageW(Handle(), WM_NULL, 0, 0);
}

void FormWindow::MakeHeldWindows() {
    holdingWindows_ = false;
    // Every label is measured on one memory context.
    std::unique_ptr<ScopedMemoryDc> measure;
    const std::vector<Control*> held = controls_;
    for (Control* control : held) {
        if (!control->windowHeld_) {
            continue;
        }
        control->windowHeld_ = false;
        if (!measure) {
            measure = std::make_unique<ScopedMemoryDc>(nullptr);
        }
        control->MakeWindow(measure->Get());
    }
    if (!tabOrder_.empty()) {
        SetTabOrder(std::exchange(tabOrder_, {}));
    }
}

void FormWindow::SetTabOrder(const std::vector<const Control*>& controls) {
    if (holdingWindows_) {
        tabOrder_ = controls;
        return;
    }
    HWND after = HWND_TOP;
    for (const Control* control : controls) {
        if (control != nullptr && control->hwnd_ != nullptr) {
            SetWindowPos(control->hwnd_, after, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            after = control->hwnd_;
        }
    }
}

Control* FormWindow::FromId(UINT id) const {
    auto it = std::find_if(controls_.begin(), controls_.end(),
                           [id](const Control* control) { return control->id_ == id; });
    return it == controls_.end() ? nullptr : *it;
}

Control* FormWindow::FromHandle(HWND window) const {
    if (window == nullptr) {
        return nullptr;
    }
    auto it = std::find_if(controls_.begin(), controls_.end(),
                           [window](const Control* control) { return control->hwnd_ == window; });
    return it == controls_.end() ? nullptr : *it;
}

Control* FormWindow::WindowlessAt(HWND parent, POINT point) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        Control& control = **it;
        if (control.IsWindowless() && ParentHandleOf(control) == parent) {
            const RECT bounds = control.Bounds();
            if (PtInRect(&bounds, point)) {
                return &control;
            }
        }
    }
    return nullptr;
}

HWND FormWindow::ParentHandleOf(const Control& control) const {
    return control.args_.parent != nullptr ? control.args_.parent->hwnd_ : Handle();
}

void FormWindow::PressWindowless(HWND parent, POINT point) {
    pressedWindowless_ = WindowlessAt(parent, point);
    if (pressedWindowless_ != nullptr) {
        // The release comes here even when it is made outside the window.
        SetCapture(parent);
    }
}

void FormWindow::ReleaseWindowless(HWND parent, POINT point) {
    Control* pressed = pressedWindowless_;
    pressedWindowless_ = nullptr;
    if (GetCapture() == parent) {
        ReleaseCapture();
    }
    if (pressed != nullptr && WindowlessAt(parent, point) == pressed) {
        Raise(*pressed, Control::EventKind::Click);
    }
}

void FormWindow::SaveFocus() {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(Handle(), focus)) {
        focus_ = focus;
    }
}

void FormWindow::RestoreFocus() {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(Handle(), focus)) {
        return;  // given already, as the window was shown
    }
    HWND target = focus_;
    if (target == nullptr || !IsWindow(target) || !IsChild(Handle(), target) ||
        !IsWindowVisible(target) || !IsWindowEnabled(target)) {
        target = GetNextDlgTabItem(Handle(), nullptr, FALSE);
    }
    if (target != nullptr) {
        SetFocus(target);
    } else if (focus != Handle()) {
        SetFocus(Handle());  // nothing to focus: the window itself, as before
    }
}

Control* FormWindow::DefaultButton() const {
    Control* focused = FromHandle(GetFocus());
    if (focused != nullptr && dynamic_cast<PushButton*>(focused) != nullptr) {
        return focused;
    }
    return defaultButtonId_ != 0 ? FromId(defaultButtonId_) : nullptr;
}

void FormWindow::ShowDefaultButton(const Control* button) {
    shownDefault_ = button;
    for (Control* control : controls_) {
        if (dynamic_cast<PushButton*>(control) == nullptr || control->hwnd_ == nullptr) {
            continue;
        }
        const LONG style = GetWindowLongW(control->hwnd_, GWL_STYLE);
        const LONG kind = control == button ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        if ((style & BS_TYPEMASK) != kind) {
            SendMessageW(control->hwnd_, BM_SETSTYLE, static_cast<WPARAM>(kind), TRUE);
        }
    }
}

void FormWindow::FocusTaken(Control& control) {
    if (dynamic_cast<PushButton*>(&control) != nullptr) {
        ShowDefaultButton(&control);
    }
}

void FormWindow::FocusLost(Control& control, HWND next) {
    Control* taking = FromHandle(next);
    if (dynamic_cast<PushButton*>(&control) != nullptr &&
        (taking == nullptr || dynamic_cast<PushButton*>(taking) == nullptr)) {
        ShowDefaultButton(defaultButtonId_ != 0 ? FromId(defaultButtonId_) : nullptr);
    }
}

void FormWindow::TrackWindowlessHover(HWND parent, POINT point) {
    Control* hit = WindowlessAt(parent, point);
    if (hit == hoverWindowless_) {
        return;
    }
    if (hoverWindowless_ != nullptr) {
        Control* left = hoverWindowless_;
        hoverWindowless_ = nullptr;
        Raise(*left, Control::EventKind::MouseLeave);
    }
    hoverWindowless_ = hit;
    if (hit != nullptr) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, parent, 0};
        TrackMouseEvent(&track);
        Raise(*hit, Control::EventKind::MouseEnter);
    }
}

LRESULT FormWindow::ContainerMessage(HWND parent, UINT message, WPARAM wParam, LPARAM lParam,
                                     bool& handled) {
    handled = true;
    switch (message) {
        case WM_COMMAND: {
            Control* control = FromId(LOWORD(wParam));
            const UINT code = HIWORD(wParam);
            if (control == nullptr && LOWORD(wParam) == IDOK) {
                control = DefaultButton();
            }
            if (control != nullptr && control->IsClick(code, lParam)) {
                Raise(*control, Control::EventKind::Click);
                return 0;
            }
            break;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(parent, &ps);
            if (doubleBuffered_) {
                PaintBuffered(parent, dc, ps.rcPaint);
            } else {
                PaintWindowless(parent, dc);
            }
            EndPaint(parent, &ps);
            return 0;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            if (Control* control = FromHandle(reinterpret_cast<HWND>(lParam))) {
                if (HBRUSH brush = control->SetColorsAndGetBrush(reinterpret_cast<HDC>(wParam))) {
                    return reinterpret_cast<LRESULT>(brush);
                }
            }
            break;
        case WM_MOUSEMOVE:
            TrackWindowlessHover(parent, POINT{static_cast<short>(LOWORD(lParam)),
                                               static_cast<short>(HIWORD(lParam))});
            return 0;
        case WM_MOUSELEAVE:
            TrackWindowlessHover(parent, POINT{-10000, -10000});
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            PressWindowless(parent, POINT{static_cast<short>(LOWORD(lParam)),
                                          static_cast<short>(HIWORD(lParam))});
            return 0;
        case WM_LBUTTONUP:
            ReleaseWindowless(parent, POINT{static_cast<short>(LOWORD(lParam)),
                                            static_cast<short>(HIWORD(lParam))});
            return 0;
        case WM_CAPTURECHANGED:
            pressedWindowless_ = nullptr;
            break;
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wParam) == parent && LOWORD(lParam) == HTCLIENT) {
                POINT point{};
                GetCursorPos(&point);
                ScreenToClient(parent, &point);
                Control* hit = WindowlessAt(parent, point);
                CursorKind kind = hit != nullptr ? hit->args_.cursor : CursorKind::Arrow;
                const Control* panel = dynamic_cast<const Panel*>(FromHandle(parent));
                if (hit == nullptr && panel != nullptr) {
                    kind = panel->args_.cursor;
                }
                ::SetCursor(Application::Instance().Cursor(kind));
                return TRUE;
            }
            break;
        default:
            break;
    }
    handled = false;
    return 0;
}

LRESULT FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    const LRESULT result = ContainerMessage(Handle(), message, wParam, lParam, handled);
    if (handled) {
        return result;
    }
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) {
                OnCancel(CancelBy::EscapeKey);
                return 0;
            }
            break;
        case WM_CLOSE:
            OnCancel(CancelBy::CloseRequest);
            return 0;
        case WM_ERASEBKGND:
            if (doubleBuffered_) {
                return TRUE;  // painted whole in WM_PAINT
            }
            break;
        case WM_SHOWWINDOW:
            if (lParam == SW_PARENTCLOSING || lParam == SW_PARENTOPENING) {
                // The owner was minimized or restored. A window hidden by
                // the program meanwhile stays hidden; one that comes back
                // comes back as it was. The system hides or shows it from
                // within this message.
                if (wParam && !shown_) {
                    return 0;
                }
                followingOwner_ = true;
                const LRESULT followed = BaseWindow::HandleMessage(message, wParam, lParam);
                followingOwner_ = false;
                return followed;
            }
            if (lParam == 0 && !followingOwner_) {
                shown_ = wParam != 0;
                if (shown_) {
                    // Shown anew, the window starts at the first control of
                    // the keyboard order, unless FormShow says otherwise.
                    focus_ = nullptr;
                    FormShow();
                }
            }
            if (wParam) {
                SettleLayout();
            }
            break;
        case WM_WINDOWPOSCHANGING: {
            const auto* place = reinterpret_cast<const WINDOWPOS*>(lParam);
            if (place != nullptr && (place->flags & SWP_SHOWWINDOW) != 0) {
                SettleLayout();
            }
            break;
        }
        case WM_SETTINGCHANGE:
            if (followsDesktopFont_ &&
                (wParam == SPI_SETICONTITLELOGFONT || wParam == SPI_SETNONCLIENTMETRICS)) {
                fonts_.ForgetDpi();
                SetFont(IconTitleFont());
            }
            break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                SaveFocus();
            } else if (HIWORD(wParam) == 0) {  // not minimized
                RestoreFocus();
            }
            return 0;
        case WM_SETFOCUS:
            RestoreFocus();
            return 0;
        case WM_CANCELMODE:
            // Sent as the window is disabled, before its focus goes.
            SaveFocus();
            break;
        case DM_GETDEFID:
            if (const Control* button = DefaultButton()) {
                return MAKELRESULT(button->id_, DC_HASDEFID);
            }
            break;
        default:
            break;
    }
    return BaseWindow::HandleMessage(message, wParam, lParam);
}

LRESULT FormWindow::PanelMessage(Panel& panel, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = panel.hwnd_;
    bool handled = false;
    const LRESULT result = ContainerMessage(hwnd, message, wParam, lParam, handled);
    if (handled) {
        return result;
    }
    if (message == WM_ERASEBKGND) {
        if (!doubleBuffered_) {
            RECT rect;
            GetClientRect(hwnd, &rect);
            FillRect(reinterpret_cast<HDC>(wParam), &rect, panel.Brush());
        }
        return TRUE;  // a double-buffered panel is painted whole in WM_PAINT
    }
    return DefaultSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT FormWindow::ControlMessage(Control& control, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = control.hwnd_;
    auto* label = dynamic_cast<Label*>(&control);
    switch (message) {
        case WM_SETFOCUS:
            FocusTaken(control);
            break;
        case WM_KILLFOCUS:
            FocusLost(control, reinterpret_cast<HWND>(wParam));
            break;
        case BM_SETSTYLE:
            if (dynamic_cast<PushButton*>(&control) != nullptr && shownDefault_ != nullptr) {
                // The dialog manager restyles the buttons after Tab by rules
                // of its own; the default border stays where Enter goes.
                const WPARAM kind = shownDefault_ == &control ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
                wParam = (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | kind;
            }
            break;
        case WM_GETDLGCODE:
            if (dynamic_cast<Memo*>(&control) != nullptr) {
                // A read-only memo takes the arrows and characters; Tab,
                // Enter and Esc move on or reach the window's buttons.
                return DefaultSubclassProc(hwnd, message, wParam, lParam) & ~DLGC_WANTALLKEYS;
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (label != nullptr) {
                control.pressed_ = true;
                SetCapture(hwnd);
            }
            break;
        case WM_LBUTTONUP:
            if (label != nullptr) {
                const bool pressed = control.pressed_;
                control.pressed_ = false;
                if (GetCapture() == hwnd) {
                    ReleaseCapture();
                }
                RECT client{};
                GetClientRect(hwnd, &client);
                const POINT point{static_cast<short>(LOWORD(lParam)),
                                  static_cast<short>(HIWORD(lParam))};
                if (!PtInRect(&client, point)) {
                    if (control.hover_) {
                        control.hover_ = false;
                        Raise(control, Control::EventKind::MouseLeave);
                    }
                } else if (pressed) {
                    Raise(control, Control::EventKind::Click);
                }
            }
            break;
        case WM_CAPTURECHANGED:
            control.pressed_ = false;
            break;
        case WM_MOUSEMOVE:
            if (!control.hover_) {
                control.hover_ = true;
                TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd, 0};
                TrackMouseEvent(&track);
                Raise(control, Control::EventKind::MouseEnter);
            }
            break;
        case WM_MOUSELEAVE:
            control.hover_ = false;
            Raise(control, Control::EventKind::MouseLeave);
            break;
        case WM_SETCURSOR:
            if (control.Cursor() != CursorKind::Arrow) {
                ::SetCursor(Application::Instance().Cursor(control.Cursor()));
                return TRUE;
            }
            break;
        case WM_ERASEBKGND:
            if (label != nullptr && label->PaintsItself()) {
                return TRUE;  // painted whole in WM_PAINT
            }
            break;
        case WM_PAINT:
            if (label != nullptr && label->PaintsItself()) {
                PaintLabel(*label);
                return 0;
            }
            break;
        default:
            break;
    }
    return DefaultSubclassProc(hwnd, message, wParam, lParam);
}

// Faults never leave a control's window procedure: they are swallowed here.
LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR data) {
    auto* control = reinterpret_cast<Control*>(data);
    if (message == WM_NCDESTROY) {
        RemoveSubclass(hwnd, ControlProc);
        AttachHint(hwnd, nullptr);
        control->hwnd_ = nullptr;
        return DefaultSubclassProc(hwnd, message, wParam, lParam);
    }
    FormWindow* form = control->form_;
    if (form == nullptr) {
        return DefaultSubclassProc(hwnd, message, wParam, lParam);
    }
    try {
        if (auto* panel = dynamic_cast<Panel*>(control)) {
            return form->PanelMessage(*panel, message, wParam, lParam);
        }
        return form->ControlMessage(*control, message, wParam, lParam);
    } catch (...) {
        return DefaultSubclassProc(hwnd, message, wParam, lParam);
    }
}

}  // namespace lumora
