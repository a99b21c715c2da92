#include "ui/framework/TrackBar.h"

#include "ui/framework/FormWindow.h"
#include "ui/framework/Panel.h"

namespace lumora {

void TrackBar::Create(FormWindow& form, const Args& args) {
    Join(form, args);
    range_ = args;
    MakeWindowUnlessHeld();
}

void TrackBar::MakeWindow(HDC /*measure*/) {
    CreateChild(TRACKBAR_CLASSW, WS_TABSTOP | TBS_BOTH | TBS_AUTOTICKS | TBS_FIXEDLENGTH, 0);
    Send(TBM_SETRANGE, TRUE, MAKELPARAM(range_.minimum, range_.maximum));
    Send(TBM_SETPAGESIZE, 0, range_.pageSize);
    Send(TBM_SETTHUMBLENGTH, static_cast<WPARAM>(form_->Scale(range_.thumbLength)), 0);
}

HBRUSH TrackBar::SetColorsAndGetBrush(HDC) {
    Panel* panel = args_.parent;
    return panel != nullptr && panel->HasColor() ? panel->Brush() : nullptr;
}

}  // namespace lumora
