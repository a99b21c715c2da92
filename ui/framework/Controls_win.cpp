#include <windows.h>

#include <commctrl.h>

#include "ui/framework/Controls.h"
#include "ui/framework/FormWindow.h"

namespace lumora {

SolidBrush::~SolidBrush() {
    if (brush_ != nullptr) {
        DeleteObject(brush_);
    }
}

HBRUSH SolidBrush::Of(COLORREF color) {
    if (brush_ == nullptr || color_ != color) {
        HBRUSH fresh = CreateSolidBrush(color);
        if (fresh != nullptr) {
            if (brush_ != nullptr) {
                DeleteObject(brush_);
            }
            brush_ = fresh;
            color_ = color;
        }
    }
    return brush_;
}

Control::~Control() {
    if (form_ != nullptr) {
        form_->Forget(*this);
    }
}

void Control::SetFont(const FontSpec& font) {
    font_ = font;
    parentFont_ = false;
    ShowFont();
}

void Control::ApplyFont(const FontSpec& windowFont) {
    if (HasFont() && parentFont_) {
        font_ = windowFont;
        ShowFont();
    }
}

void Control::ShowFont() {
    if (hwnd_ == nullptr || form_ == nullptr) {
        return;
    }
    HFONT shared = form_->SharedFont(font_);
    if (shared == nullptr) {
        return;
    }
    // The same font again (a colour change, or the window's font set anew)
    // leaves the control as it is; a label repaints for a new colour.
    if (shared != hfont_) {
        const BOOL redraw = form_->LayoutDeferred() ? FALSE : TRUE;
        SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(shared), redraw);
        hfont_ = shared;
    }
    FontShown();
}

RECT Control::Bounds() const {
    SettleLayout();
    RECT rect{args_.left, args_.top, args_.left + args_.width, args_.top + args_.height};
    if (hwnd_ != nullptr) {
        GetWindowRect(hwnd_, &rect);
        MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&rect), 2);
    }
    return rect;
}

void Control::Fire(ControlEvent event) {
    // Every event handler swallows its faults.
    for (auto& [kind, handler] : handlers_) {
        if (kind == event && handler) {
            try {
                handler(*this);
            } catch (...) {
            }
        }
    }
}

void Control::On(ControlEvent event, ControlHandler handler) {
    handlers_.emplace_back(event, std::move(handler));
}

void Control::SetUnderline(bool on) {
    FontSpec font = font_;
    font.style = on ? (font.style | kFontUnderline) : (font.style & ~kFontUnderline);
    SetFont(font);
}

Image::~Image() {
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
    }
}

void Bevel::Draw(HDC dc, const RECT& bounds) const {
    RECT edge = bounds;
    DrawEdge(dc, &edge, EDGE_ETCHED, vertical_ ? BF_LEFT : BF_TOP);
}

void TextControl::SetCaption(const std::wstring& text) {
    caption_ = text;
    if (hwnd_ != nullptr) {
        SetWindowTextW(hwnd_, text.c_str());
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
    if (args_.cursor == CursorKind::Arrow && parentPanel_ != nullptr) {
        return parentPanel_->Args().cursor;
    }
    return args_.cursor;
}

HBRUSH Label::Colors(HDC dc) {
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
    HDC dc = measure != nullptr ? measure : GetDC(hwnd_);
    HGDIOBJ old = SelectObject(
        dc, hfont_ != nullptr ? static_cast<HGDIOBJ>(hfont_) : GetStockObject(DEFAULT_GUI_FONT));
    RECT text{0, 0, 0, 0};
    const std::wstring shown = caption_.empty() ? std::wstring(L" ") : caption_;
    const LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
    DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &text,
              DT_CALCRECT | DT_SINGLELINE | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0));
    SelectObject(dc, old);
    if (measure == nullptr) {
        ReleaseDC(hwnd_, dc);
    }
    const int width = caption_.empty() ? 0 : text.right;
    const int height = text.bottom;
    const int left = rightAligned_ ? args_.left + args_.width - width : args_.left;
    SetWindowPos(hwnd_, nullptr, left, args_.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

HBRUSH TrackBar::Colors(HDC) {
    return parentPanel_ != nullptr && parentPanel_->HasColor() ? parentPanel_->Brush() : nullptr;
}

std::wstring Memo::Lines() const {
    if (hwnd_ == nullptr) {
        return std::wstring();
    }
    const int length = GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(hwnd_, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

void MenuItem::SetCaption(const std::wstring& text) {
    caption_ = text;
    if (menu_ != nullptr) {
        ModifyMenuW(menu_, id_, MF_BYCOMMAND | MF_STRING, id_, text.c_str());
    }
}

PopupMenu::~PopupMenu() {
    if (menu_ != nullptr) {
        DestroyMenu(menu_);
    }
}

}  // namespace lumora
