#include "ui/SettingsForm.h"

#include "ui/WindowClasses.h"

namespace lumora {

bool TLMSettingsForm::Create(HWND owner) {
    return BaseWindow::Create(kSettingsFormClass, L"Lumora", WS_POPUP | WS_CAPTION, 0, 420, 200,
                              owner);
}

LRESULT TLMSettingsForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        ShowWindow(Handle(), SW_HIDE);
        return 0;
    }
    return BaseWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace lumora
