#include "ui/framework/Memo.h"

#include "ui/framework/FormWindow.h"
#include "ui/framework/WindowClass_win.h"

namespace lumora {

void Memo::Create(FormWindow& form, const Args& args) {
    Join(form, args);
    color_ = args.color;
    CreateChild(L"EDIT", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                WS_EX_CLIENTEDGE);
    // Subclassed so that Tab, Enter and Esc keep their dialog meaning in it.
    Subclass();
    ApplyFont(form.Font());
}

std::wstring Memo::Lines() const {
    return WindowText(hwnd_);
}

void Memo::SetLines(const std::wstring& text) {
    if (hwnd_ != nullptr) {
        SetWindowTextW(hwnd_, text.c_str());
    }
}

}  // namespace lumora
