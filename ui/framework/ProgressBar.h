// A smooth progress bar from 0 to 100. It raises no events.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "ui/framework/Control.h"

namespace lumora {

class ProgressBar : public Control {
  public:
    struct Args : ControlArgs {};
    void Create(FormWindow& form, const Args& args);

    int Position() const { return hwnd_ != nullptr ? static_cast<int>(Send(PBM_GETPOS)) : 0; }
    void SetPosition(int position) { Send(PBM_SETPOS, static_cast<WPARAM>(position)); }

  protected:
    void MakeWindow(HDC measure) override;
};

}  // namespace lumora
