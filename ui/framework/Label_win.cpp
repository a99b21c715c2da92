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
    style_ = SS_NOTIFY | (args.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP) |
             (args.showAccelChar ? 0 : SS_NOPREFIX);
    TakeFont(args.parentFont, args.font);
    MakeWindowUnlessHeld();
}

void Label::MakeWindow(HDC measure) {
    // A held label is made at its size, with its text and font: nothing is
    // measured or moved again before the window shows.
    HFONT font = SharedFont();
    const bool measured = measure != nullptr && autoSize_;
    if (measured) {
        const RECT place = AutoPlace(measure, font);
        CreateChild(L"STATIC", style_, 0, 0, caption_, &place);
    } else {
        CreateChild(L"STATIC", style_, 0, 0, caption_);
    }
    Subclass();
    ShowFont();
    if (measured && hfont_ == font) {
        layoutPending_ = false;
    } else if (form_->LayoutDeferred()) {
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

RECT Label::AutoPlace(HDC measure, HFONT font) const {
    RECT text{0, 0, 0, 0};
    const std::wstring shown = caption_.empty() ? std::wstring(L" ") : caption_;
    const ScopedSelect selected(
        measure, font != nullptr ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    DrawTextW(measure, shown.c_str(), static_cast<int>(shown.size()), &text,
              DT_CALCRECT | DT_SINGLELINE | ((style_ & SS_NOPREFIX) ? DT_NOPREFIX : 0));
    const int width = caption_.empty() ? 0 : text.right;
    const int left = rightAligned_ ? args_.left + args_.width - width : args_.left;
    return RECT{left, args_.top, left + width, args_.top + text.bottom};
}

void Label::Resize(HDC measure) const {
    layoutPending_ = false;
    if (!autoSize_ || hwnd_ == nullptr) {
        return;
    }
    RECT place{};
    if (measure != nullptr) {
        place = AutoPlace(measure, hfont_);
    } else {
        const ScopedWindowDc own(hwnd_);
        place = AutoPlace(own.Get(), hfont_);
    }
    SetWindowPos(hwnd_, nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace lumora
