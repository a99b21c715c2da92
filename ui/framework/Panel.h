// A container with a colour and a caption of its own; the controls on it
// name it as their parent, and the track bars on it paint their background
// with its brush.
#pragma once

#include "ui/framework/Control.h"

namespace lumora {

class Panel : public TextControl {
  public:
    struct Args : ControlArgs {
        COLORREF color = CLR_INVALID;  // CLR_INVALID: the button-face colour
    };
    void Create(FormWindow& form, const Args& args);

    ComponentKind Kind() const override { return ComponentKind::Panel; }
    COLORREF Color() const { return color_ != CLR_INVALID ? color_ : GetSysColor(COLOR_BTNFACE); }
    bool HasColor() const { return color_ != CLR_INVALID; }
    HBRUSH Brush() { return brush_.Of(Color()); }

  protected:
    void MakeWindow(HDC measure) override;

    COLORREF color_ = CLR_INVALID;
    SolidBrush brush_;
};

}  // namespace lumora
