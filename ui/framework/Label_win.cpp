#include "ui/framework/Label.h"

#include "ui/framework/FormWindow.h"
#include "ui/framework/Panel.h"
#include "ui/framework/ScopedGdi.h"

namespace lumora {

void Label::Create(FormWindow& form, const Args& args) {
    Join(form, args);
    autoSize_ = !args.wordWrap;
    rightAligned_ = args.rightAligned;
    transparent_ = args.transparent;
    centreVertically_ = args.centreVertically && args.wordWrap;
    doubleBuffered_ = FormDoubleBuffered();
    const DWORD style = SS_NOTIFY | (args.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP) |
                        (args.showAccelChar ? 0 : SS_NOPREFIX);
    CreateChild(L"STATIC", style, 0);
    Subclass();
    TakeFont(args.parentFont, args.font);
    if (form.LayoutDeferred()) {
        layoutPending_ = true;
    } else {
        Resize();
    }
}

void Label::SetCaption(const std::wstring& text) {
    caption_ = text;
    if (hwnd_ == nullptr) {
        return;
    }
    if (form_ != nullptr && form_->LayoutDeferred()) {
        // Nothing shows yet: the text goes in, the size follows once.
        SetWindowTextW(hwnd_, text.c_str());
        layoutPending_ = true;
        return;
    }
    const RECT before = Bounds();
    // A label that paints itself is repainted whole below; the control would
    // draw the new text over the old one at once.
    const bool quiet = PaintsItself();
    if (quiet) {
        SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    }
    SetWindowTextW(hwnd_, text.c_str());
    if (quiet) {
        SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(hwnd_, nullptr, FALSE);
    }
    Resize();
    RepaintBeneath(before);
}

CursorKind Label::Cursor() const {
    if (args_.cursor == CursorKind::Arrow && args_.parent != nullptr) {
        return args_.parent->Placement().cursor;
    }
    return args_.cursor;
}

HBRUSH Label::SetColorsAndGetBrush(HDC dc) {
    if (!transparent_) {
        return nullptr;
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc,
                 font_.color != kDefaultTextColor ? font_.color : GetSysColor(COLOR_WINDOWTEXT));
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

void Label::FontShown() {
    if (form_ != nullptr && form_->LayoutDeferred()) {
        layoutPending_ = true;
        return;
    }
    const RECT before = Bounds();
    Resize();
    RepaintBeneath(before);
}

void Label::SettleLayout() const {
    if (layoutPending_) {
        Resize();
    }
}

void Label::RepaintBeneath(const RECT& before) const {
    // A transparent label shows what lies beneath it: the parent repaints
    // under its old and its new place.
    const RECT after = Bounds();
    RECT both;
    UnionRect(&both, &before, &after);
    RedrawWindow(GetParent(hwnd_), &both, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Label::Resize(HDC measure) const {
    layoutPending_ = false;
    if (!autoSize_ || hwnd_ == nullptr) {
        return;
    }
    RECT text{0, 0, 0, 0};
    const std::wstring shown = caption_.empty() ? std::wstring(L" ") : caption_;
    const LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
    const auto measureOn = [&](HDC dc) {
        const ScopedSelect font(dc, hfont_ != nullptr ? static_cast<HGDIOBJ>(hfont_)
                                                      : GetStockObject(DEFAULT_GUI_FONT));
        DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &text,
                  DT_CALCRECT | DT_SINGLELINE | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0));
    };
    if (measure != nullptr) {
        measureOn(measure);
    } else {
        const ScopedWindowDc own(hwnd_);
        measureOn(own.Get());
    }
    const int width = caption_.empty() ? 0 : text.right;
    const int height = text.bottom;
    const int left = rightAligned_ ? args_.left + args_.width - width : args_.left;
    SetWindowPos(hwnd_, nullptr, left, args_.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace lumora
