#include "ui/framework/Panel.h"

#include "ui/framework/FormWindow.h"
#include "ui/framework/WindowClass_win.h"

namespace lumora {

namespace {
constexpr wchar_t kPanelClass[] = L"TPanel";
}  // namespace

void Panel::Create(FormWindow& form, const Args& args) {
    RegisterWindowClassOnce({kPanelClass});
    Join(form, args);
    color_ = args.color;
    ApplyFont(form.Font());
    MakeWindowUnlessHeld();
}

void Panel::MakeWindow(HDC /*measure*/) {
    CreateChild(kPanelClass, WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, 0, caption_);
    Subclass();
    ShowFont();
}

}  // namespace lumora
