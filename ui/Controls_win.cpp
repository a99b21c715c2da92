#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "ui/Controls.h"
#include "ui/SystemFont_win.h"

namespace lumora {

HFONT CreateFontFrom(const FontSpec& font) {
    const LOGFONTW lf = LogFontFromSpec(font, ScreenDpi());
    return CreateFontIndirectW(&lf);
}

Control::Control(ControlType type, const ControlArgs& args) : type_(type), args_(args) {}

Control::~Control() {
    if (hfont_ != nullptr) {
        DeleteObject(hfont_);
    }
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
    }
    if (type_ == ControlType::PopupMenu && menu_ != nullptr) {
        DestroyMenu(menu_);
    }
}

ComponentKind Control::Kind() const {
    switch (type_) {
        case ControlType::Label:
            return ComponentKind::Label;
        case ControlType::Panel:
            return ComponentKind::Panel;
        case ControlType::PushButton:
            return ComponentKind::PushButton;
        case ControlType::MenuItem:
            return ComponentKind::PopupMenuItem;
        case ControlType::Memo:
            return ComponentKind::MultiLineEdit;
        default:
            return ComponentKind::Other;
    }
}

std::wstring Control::Caption() const {
    if (type_ == ControlType::Label || type_ == ControlType::PushButton ||
        type_ == ControlType::Panel || type_ == ControlType::MenuItem) {
        return caption_;
    }
    return std::wstring();
}

void Control::SetCaption(const std::wstring& text) {
    switch (type_) {
        case ControlType::Label:
        case ControlType::PushButton:
        case ControlType::Panel: {
            caption_ = text;
            if (hwnd_ == nullptr) {
                return;
            }
            const RECT before = Bounds();
            // A label that paints itself is repainted whole below; the
            // control would draw the new text over the old one at once.
            const bool quiet =
                type_ == ControlType::Label && (centreVertically_ || doubleBuffered_);
            if (quiet) {
                SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
            }
            SetWindowTextW(hwnd_, text.c_str());
            if (quiet) {
                SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
                InvalidateRect(hwnd_, nullptr, FALSE);
            }
            if (type_ == ControlType::Label) {
                Resize();
                RepaintBeneath(before);
            }
            return;
        }
        case ControlType::MenuItem:
            caption_ = text;
            if (menu_ != nullptr) {
                ModifyMenuW(menu_, id_, MF_BYCOMMAND | MF_STRING, id_, text.c_str());
            }
            return;
        default:
            return;
    }
}

std::wstring Control::Lines() const {
    if (type_ != ControlType::Memo || hwnd_ == nullptr) {
        return std::wstring();
    }
    const int length = GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(hwnd_, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

void Control::SetLines(const std::wstring& text) {
    if (type_ == ControlType::Memo && hwnd_ != nullptr) {
        SetWindowTextW(hwnd_, text.c_str());
    }
}

bool Control::HasFont() const {
    return type_ == ControlType::Label || type_ == ControlType::PushButton ||
           type_ == ControlType::Panel || type_ == ControlType::Memo ||
           type_ == ControlType::ComboBox;
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
    if (hwnd_ == nullptr) {
        return;
    }
    HFONT created = CreateFontFrom(font_);
    if (created == nullptr) {
        return;
    }
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(created), TRUE);
    if (hfont_ != nullptr) {
        DeleteObject(hfont_);
    }
    hfont_ = created;
    if (type_ == ControlType::Label) {
        const RECT before = Bounds();
        Resize();
        RepaintBeneath(before);
    }
}

void Control::RepaintBeneath(const RECT& before) const {
    // A transparent label shows what lies beneath it: the parent repaints
    // under its old and its new place.
    const RECT after = Bounds();
    RECT both;
    UnionRect(&both, &before, &after);
    RedrawWindow(GetParent(hwnd_), &both, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

RECT Control::Bounds() const {
    RECT rect{args_.left, args_.top, args_.left + args_.width, args_.top + args_.height};
    if (hwnd_ != nullptr) {
        GetWindowRect(hwnd_, &rect);
        MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&rect), 2);
    }
    return rect;
}

void Control::Resize() {
    if (type_ != ControlType::Label || !autoSize_ || hwnd_ == nullptr) {
        return;
    }
    HDC dc = GetDC(hwnd_);
    HGDIOBJ old = SelectObject(
        dc, hfont_ != nullptr ? static_cast<HGDIOBJ>(hfont_) : GetStockObject(DEFAULT_GUI_FONT));
    RECT text{0, 0, 0, 0};
    const std::wstring shown = caption_.empty() ? std::wstring(L" ") : caption_;
    const LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
    DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &text,
              DT_CALCRECT | DT_SINGLELINE | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0));
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    const int width = caption_.empty() ? 0 : text.right;
    const int height = text.bottom;
    const int left = rightAligned_ ? args_.left + args_.width - width : args_.left;
    SetWindowPos(hwnd_, nullptr, left, args_.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

CursorKind Control::Cursor() const {
    if (args_.cursor == CursorKind::Arrow && type_ == ControlType::Label &&
        parentPanel_ != nullptr) {
        return parentPanel_->args_.cursor;
    }
    return args_.cursor;
}

void Control::Fire(ControlEvent event) {
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

bool Control::HasHandler(ControlEvent event) const {
    return std::any_of(handlers_.begin(), handlers_.end(),
                       [event](const auto& entry) { return entry.first == event; });
}

void Control::SetUnderline(bool on) {
    FontSpec font = font_;
    font.style = on ? (font.style | kFontUnderline) : (font.style & ~kFontUnderline);
    SetFont(font);
}

void Control::SetEnabled(bool enabled) {
    if (hwnd_ != nullptr) {
        EnableWindow(hwnd_, enabled ? TRUE : FALSE);
    }
}

bool Control::Enabled() const {
    return hwnd_ == nullptr || IsWindowEnabled(hwnd_);
}

}  // namespace lumora
