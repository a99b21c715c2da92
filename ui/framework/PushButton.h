// A push button; the window's default one is pressed by Enter.
#pragma once

#include "ui/framework/Control.h"

namespace lumora {

class PushButton : public TextControl {
  public:
    struct Args : ControlArgs {
        FontSpec font;
        bool parentFont = true;
        bool isDefault = false;  // Enter presses it
        bool shield = false;     // the elevation shield
    };
    void Create(FormWindow& form, const Args& args);

    ComponentKind Kind() const override { return ComponentKind::PushButton; }

    Event onClick;

  protected:
    Event* EventOf(EventKind kind) override {
        return kind == EventKind::Click ? &onClick : nullptr;
    }
    bool IsClick(UINT code, LPARAM) const override { return code == BN_CLICKED; }
    void MakeWindow(HDC measure) override;

    bool isDefault_ = false;
    bool shield_ = false;
};

}  // namespace lumora
