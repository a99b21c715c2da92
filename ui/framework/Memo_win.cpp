#include "ui/framework/Memo.h"

#include "ui/framework/FormWindow.h"
#include "ui/framework/WindowClass_win.h"

namespace lumora {

void Memo::Create(FormWindow& form, const Args& args) {
    Join(form, args);
    color_ = args.color;
    ApplyFont(form.Font());
    MakeWindowUnlessHeld();
}

void Memo::MakeWindow(HDC /*measure*/) {
    CreateChild(L"EDIT", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                WS_EX_CLIENTEDGE, 0, heldLines_);
    heldLines_.clear();
    // Subclassed so that Tab, Enter and Esc keep their dialog meaning in it.
    Subclass();
    ShowFont();
}

std::wstring Memo::Lines() const {
    return hwnd_ != nullptr ? WindowText(hwnd_) : heldLines_;
}

void Memo::SetLines(const std::wstring& text) {
    if (hwnd_ != nullptr) {
        SetWindowTextW(hwnd_, text.c_str());
    } else if (windowHeld_) {
        heldLines_ = text;
    }
}

}  // namespace lumora
