#include "app/MainForm.h"

#include "ui/WindowClasses.h"

namespace lumora {

namespace {
constexpr int kClientWidth = 764;
constexpr int kClientHeight = 500;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
}  // namespace

bool TLMMainForm::Create() {
    // An unowned window with WS_EX_APPWINDOW: the main window itself carries
    // the task-bar button.
    return BaseWindow::Create(kMainFormClass, L"Lumora", kStyle, WS_EX_APPWINDOW, kClientWidth,
                              kClientHeight, nullptr);
}

LRESULT TLMMainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return BaseWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace lumora
