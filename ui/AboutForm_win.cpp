#include "ui/AboutForm.h"

#include "ui/WindowClasses.h"

namespace lumora {

bool TLMAboutForm::Create(HWND owner) {
    return BaseWindow::Create(kAboutFormClass, L"About", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 480,
                              360, owner);
}

LRESULT TLMAboutForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        ShowWindow(Handle(), SW_HIDE);
        return 0;
    }
    return BaseWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace lumora
