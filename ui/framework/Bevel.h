// An etched line along the top or the left edge, drawn by its parent. It
// raises no events, though it still covers what lies beneath it.
#pragma once

#include "ui/framework/Control.h"

namespace lumora {

class Bevel : public Control {
  public:
    struct Args : ControlArgs {
        bool vertical = false;  // a line along the left edge instead of the top
    };
    void Create(FormWindow& form, const Args& args);

  protected:
    bool IsWindowless() const override { return true; }
    void Draw(HDC dc, const RECT& bounds) const override;
    bool vertical_ = false;
};

}  // namespace lumora
