#include "ui/framework/ProgressBar.h"

namespace lumora {

void ProgressBar::Create(FormWindow& form, const Args& args) {
    Join(form, args);
    MakeWindowUnlessHeld();
}

void ProgressBar::MakeWindow(HDC /*measure*/) {
    CreateChild(PROGRESS_CLASSW, PBS_SMOOTH, 0);
    Send(PBM_SETRANGE32, 0, 100);
    Subclass();
}

}  // namespace lumora
