#include "ui/framework/Control.h"

#include "ui/framework/Application.h"
#include "ui/framework/FormWindow.h"
#include "ui/framework/LogFont_win.h"
#include "ui/framework/Panel.h"

namespace lumora {

void Event::Raise() const {
    if (handler_) {
        try {
            handler_();
        } catch (...) {
        }
    }
}

Event* Control::PointerEvent(PointerEvents& events, EventKind kind) {
    switch (kind) {
        case EventKind::Click:
            return &events.onClick;
        case EventKind::MouseEnter:
            return &events.onMouseEnter;
        case EventKind::MouseLeave:
            return &events.onMouseLeave;
    }
    return nullptr;
}

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
    if (hwnd_ != nullptr && !hint_.empty()) {
        AttachHint(hwnd_, nullptr);
    }
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
    HFONT shared = SharedFont();
    if (shared == nullptr) {
        return;
    }
    // The same font again (a colour change, or the window's font set anew)
    // leaves the control as it is; a label repaints for a new colour.
    if (shared != hfont_) {
        // A control that already draws in a font like this one keeps its
        // own: an extended combo box makes one from the icon-title font, and
        // a new font would have it measure and size itself and its list
        // again, for the same look.
        const bool alike =
            hfont_ == nullptr &&
            DrawAlike(reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)), shared);
        if (!alike) {
            const BOOL redraw = form_->LayoutDeferred() ? FALSE : TRUE;
            SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(shared), redraw);
        }
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

void Control::SetUnderline(bool on) {
    FontSpec font = font_;
    font.style = on ? (font.style | kFontUnderline) : (font.style & ~kFontUnderline);
    SetFont(font);
}

void Control::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (hwnd_ != nullptr) {
        EnableWindow(hwnd_, enabled ? TRUE : FALSE);
    }
}

void Control::SetHint(const std::wstring& hint) {
    hint_ = hint;
    if (hwnd_ != nullptr) {
        AttachHint(hwnd_, hint_.empty() ? nullptr : &hint_);
    }
}

void Control::Join(FormWindow& form, const ControlArgs& args) {
    form.Adopt(*this, args);
}

void Control::MakeWindowUnlessHeld() {
    if (form_->holdingWindows_) {
        windowHeld_ = true;
    } else {
        MakeWindow(nullptr);
    }
}

HWND Control::CreateChild(const wchar_t* windowClass, DWORD style, DWORD exStyle, int extraHeight,
                          const std::wstring& text, const RECT* place) {
    id_ = NewCommandId();
    HWND parent = args_.parent != nullptr ? args_.parent->Handle() : form_->Handle();
    const RECT laidOut{args_.left, args_.top, args_.left + args_.width,
                       args_.top + args_.height + extraHeight};
    const RECT& at = place != nullptr ? *place : laidOut;
    hwnd_ = CreateWindowExW(exStyle, windowClass, text.c_str(),
                            WS_CHILD | WS_VISIBLE | (enabled_ ? 0 : WS_DISABLED) | style, at.left,
                            at.top, at.right - at.left, at.bottom - at.top, parent,
                            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id_)),
                            GetModuleHandleW(nullptr), nullptr);
    if (hwnd_ != nullptr && !hint_.empty()) {
        AttachHint(hwnd_, &hint_);
    }
    return hwnd_;
}

HFONT Control::SharedFont() const {
    return form_ != nullptr ? form_->fonts_.Shared(font_) : nullptr;
}

void Control::Subclass() {
    form_->Subclass(*this);
}

void Control::TakeFont(bool parentFont, const FontSpec& ownFont) {
    if (parentFont) {
        ApplyFont(form_->Font());
    } else {
        SetFont(ownFont);
    }
}

UINT Control::NewCommandId() {
    return form_->nextId_++;
}

void Control::BecomeDefaultButton() {
    form_->SetDefaultButton(*this);
}

bool Control::FormDoubleBuffered() const {
    return form_ != nullptr && form_->doubleBuffered_;
}

void TextControl::SetCaption(const std::wstring& text) {
    caption_ = text;
    if (hwnd_ != nullptr) {
        SetWindowTextW(hwnd_, text.c_str());
    }
}

}  // namespace lumora
