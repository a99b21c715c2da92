#include "ui/framework/PushButton.h"

#include <commctrl.h>

#ifndef BCM_SETSHIELD
#define BCM_SETSHIELD (BCM_FIRST + 0x000C)  // Vista's commctrl.h
#endif

#include "ui/framework/FormWindow.h"

namespace lumora {

void PushButton::Create(FormWindow& form, const Args& args) {
    Join(form, args);
    isDefault_ = args.isDefault;
    shield_ = args.shield;
    TakeFont(args.parentFont, args.font);
    MakeWindowUnlessHeld();
}

void PushButton::MakeWindow(HDC /*measure*/) {
    CreateChild(L"BUTTON", WS_TABSTOP | (isDefault_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0, 0,
                caption_);
    if (isDefault_) {
        BecomeDefaultButton();
    }
    if (shield_) {
        // The elevation shield of common controls 6 on Vista and later; older
        // versions ignore the message.
        Send(BCM_SETSHIELD, 0, TRUE);
    }
    Subclass();
    ShowFont();
}

}  // namespace lumora
