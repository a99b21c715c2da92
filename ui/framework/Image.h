// A bitmap resource stretched to its bounds, drawn by its parent: it has no
// window of its own. Clicked and hovered over like a label.
#pragma once

#include "ui/framework/Control.h"

namespace lumora {

class Image : public Control, public PointerEvents {
  public:
    struct Args : ControlArgs {
        int bitmapResource = 0;  // a BITMAP resource, stretched to the bounds
    };
    void Create(FormWindow& form, const Args& args);
    ~Image() override;

  protected:
    Event* EventOf(EventKind kind) override { return PointerEvent(*this, kind); }
    bool IsWindowless() const override { return true; }
    void Draw(HDC dc, const RECT& bounds) const override;
    HBITMAP bitmap_ = nullptr;
};

}  // namespace lumora
