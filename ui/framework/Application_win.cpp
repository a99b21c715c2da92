#include "ui/framework/Application.h"

#include "ui/framework/ScopedGdi.h"
#include "ui/framework/WindowClass_win.h"

namespace lumora {

namespace {

constexpr wchar_t kHintProperty[] = L"LumoraHintText";
constexpr wchar_t kDefaultHintClass[] = L"THintWindow";

// The framework's own hint window: a plain painted popup.
class PaintedHintWindow : public HintWindow {
  public:
    ~PaintedHintWindow() override { DestroyPopup(); }
    RECT CalcHintRect(int maxWidth, const std::wstring& text, void*) override {
        RECT rect{0, 0, maxWidth, 0};
        {
            const ScopedWindowDc screen(nullptr);
            const ScopedSelect font(screen.Get(), GetStockObject(DEFAULT_GUI_FONT));
            DrawTextW(screen.Get(), text.c_str(), static_cast<int>(text.size()), &rect,
                      DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK);
        }
        rect.right += 6;
        rect.bottom += 4;
        return rect;
    }
    void ActivateHint(const RECT& rect, const std::wstring& text) override {
        ReleaseHandle();
        RegisterWindowClassOnce({kDefaultHintClass, Proc});
        window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kDefaultHintClass, text.c_str(),
                                  WS_POPUP | WS_BORDER, rect.left, rect.top, rect.right - rect.left,
                                  rect.bottom - rect.top, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        if (window_ != nullptr) {
            ShowWindow(window_, SW_SHOWNOACTIVATE);
        }
    }
    void ReleaseHandle() override { DestroyPopup(); }

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_PAINT) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            RECT rect;
            GetClientRect(hwnd, &rect);
            FillRect(dc, &rect, GetSysColorBrush(COLOR_INFOBK));
            const std::wstring text = WindowText(hwnd);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
            {
                const ScopedSelect font(dc, GetStockObject(DEFAULT_GUI_FONT));
                InflateRect(&rect, -2, -1);
                DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                          DT_NOPREFIX | DT_WORDBREAK);
            }
            EndPaint(hwnd, &ps);
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    void DestroyPopup() {
        if (window_ != nullptr && IsWindow(window_)) {
            DestroyWindow(window_);
        }
        window_ = nullptr;
    }
    HWND window_ = nullptr;
};

}  // namespace

void AttachHint(HWND window, const std::wstring* hint) {
    if (hint != nullptr) {
        SetPropW(window, kHintProperty, const_cast<std::wstring*>(hint));
    } else {
        RemovePropW(window, kHintProperty);
    }
}

Application& Application::Instance() {
    static Application application;
    return application;
}

Application::Application()
    : hintFactory_([] { return std::make_unique<PaintedHintWindow>(); }), hideHint_([this] {
          if (hintWindow_) {
              hintWindow_->ReleaseHandle();
          }
      }) {
    cursors_[static_cast<int>(CursorKind::Arrow)] = LoadSystemCursor(SystemCursor::Arrow);
    cursors_[static_cast<int>(CursorKind::HourGlass)] = LoadSystemCursor(SystemCursor::Wait);
    cursors_[static_cast<int>(CursorKind::HandPoint)] = cursors_[0];
}

Application::~Application() {
    hintWindow_.reset();
}

HCURSOR Application::Cursor(CursorKind kind) const {
    return cursors_[static_cast<int>(kind)];
}

void Application::SetCursor(CursorKind kind, HCURSOR cursor) {
    if (cursor != nullptr) {
        cursors_[static_cast<int>(kind)] = cursor;
    }
}

bool Application::PreTranslate(MSG& msg) {
    switch (msg.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            CancelHint();
            bool handled = false;
            if (shortCut_) {
                try {
                    shortCut_(static_cast<WORD>(msg.wParam), handled);
                } catch (...) {
                }
            }
            if (handled) {
                return true;
            }
            break;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
            CancelHint();
            break;
        case WM_MOUSEMOVE: {
            const auto* hint = static_cast<const std::wstring*>(GetPropW(msg.hwnd, kHintProperty));
            HintTextUnderPointer(hint != nullptr ? *hint : std::wstring());
            break;
        }
        default:
            break;
    }
    // Tab, arrows and Enter (the default button) within the active window.
    HWND top = GetAncestor(msg.hwnd, GA_ROOT);
    return top != nullptr && IsDialogMessageW(top, &msg);
}

void Application::Dispatch(MSG& msg) {
    if (!PreTranslate(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Application::Run() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        Dispatch(msg);
    }
    CancelHint();
}

void Application::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit request for the main loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        Dispatch(msg);
    }
}

void Application::RunModal(HWND dialog, const std::function<bool()>& done) {
    HWND owner = GetWindow(dialog, GW_OWNER);
    const bool ownerWasEnabled = owner != nullptr && IsWindowEnabled(owner);
    if (owner != nullptr) {
        EnableWindow(owner, FALSE);
    }
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    MSG msg;
    while (!done() && IsWindow(dialog) && IsWindowVisible(dialog)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) {
                PostQuitMessage(static_cast<int>(msg.wParam));
            }
            break;
        }
        Dispatch(msg);
    }
    if (owner != nullptr && ownerWasEnabled) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
    if (IsWindow(dialog)) {
        ShowWindow(dialog, SW_HIDE);
    }
}

void Application::SetHintWindowFactory(HintFactory factory) {
    CancelHint();
    hintFactory_ = std::move(factory);
    hintWindow_.reset();
}

void Application::SetHintTimings(UINT pause, UINT shortPause, UINT hidePause) {
    hintPause_ = pause;
    hintShortPause_ = shortPause;
    hintHidePause_ = hidePause;
}

void Application::CancelHint() {
    if (showTimer_ != 0) {
        KillTimer(nullptr, showTimer_);
        showTimer_ = 0;
    }
    if (hideTimer_ != 0) {
        KillTimer(nullptr, hideTimer_);
        hideTimer_ = 0;
    }
    if (hintShowing_ && hideHint_) {
        hideHint_();
    }
    hintShowing_ = false;
}

void Application::HintTextUnderPointer(const std::wstring& hint) {
    if (hint == hint_) {
        return;
    }
    const bool wasShowing = hintShowing_;
    CancelHint();
    hint_ = hint;
    if (hintChanged_) {
        try {
            hintChanged_();
        } catch (...) {
        }
    }
    if (!hint_.empty()) {
        showTimer_ = SetTimer(nullptr, 0, wasShowing ? hintShortPause_ : hintPause_, HintTimerProc);
    }
}

// Faults never leave the timer's call from Windows: they are swallowed here.
void CALLBACK Application::HintTimerProc(HWND, UINT, UINT_PTR id, DWORD) {
    Application& app = Instance();
    try {
        if (id == app.showTimer_) {
            KillTimer(nullptr, app.showTimer_);
            app.showTimer_ = 0;
            app.ShowHintNow();
        } else if (id == app.hideTimer_) {
            app.CancelHint();
        }
    } catch (...) {
    }
}

void Application::ShowHintNow() {
    if (!hintWindow_ && hintFactory_) {
        hintWindow_ = hintFactory_();
    }
    if (!hintWindow_ || hint_.empty()) {
        return;
    }
    POINT pointer{};
    GetCursorPos(&pointer);
    const std::wstring shortHint = hint_.substr(0, hint_.find(L'|'));
    RECT rect = hintWindow_->CalcHintRect(GetSystemMetrics(SM_CXSCREEN), shortHint, nullptr);
    OffsetRect(&rect, pointer.x, pointer.y + 20);
    hintWindow_->ActivateHint(rect, shortHint);
    hintShowing_ = true;
    hideTimer_ = SetTimer(nullptr, 0, hintHidePause_, HintTimerProc);
}

}  // namespace lumora
