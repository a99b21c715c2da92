#include "ui/framework/TrackBar.h"

#include "ui/framework/FormWindow.h"
#include "ui/framework/Panel.h"

namespace lumora {

void TrackBar::Create(FormWindow& form, const Args& args) {
    Join(form, args);
    CreateChild(TRACKBAR_CLASSW, WS_TABSTOP | TBS_BOTH | TBS_AUTOTICKS | TBS_FIXEDLENGTH, 0);
    Send(TBM_SETRANGE, TRUE, MAKELPARAM(args.minimum, args.maximum));
    Send(TBM_SETPAGESIZE, 0, args.pageSize);
    Send(TBM_SETTHUMBLENGTH, static_cast<WPARAM>(form.Scale(args.thumbLength)), 0);
}

HBRUSH TrackBar::SetColorsAndGetBrush(HDC) {
    Panel* panel = args_.parent;
    return panel != nullptr && panel->HasColor() ? panel->Brush() : nullptr;
}

}  // namespace lumora
