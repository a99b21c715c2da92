// A track bar of a few positions. It raises no events: the window reads its
// position when it needs it.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "ui/framework/Control.h"

namespace lumora {

class TrackBar : public Control {
  public:
    struct Args : ControlArgs {
        int minimum = 0;
        int maximum = 1;
        int pageSize = 1;
        int thumbLength = 26;
    };
    void Create(FormWindow& form, const Args& args);

    int Position() const { return hwnd_ != nullptr ? static_cast<int>(Send(TBM_GETPOS)) : 0; }
    void SetPosition(int position) { Send(TBM_SETPOS, TRUE, position); }

  protected:
    // Its background in its panel's colour.
    HBRUSH SetColorsAndGetBrush(HDC dc) override;
    void MakeWindow(HDC measure) override;

    Args range_;
};

}  // namespace lumora
