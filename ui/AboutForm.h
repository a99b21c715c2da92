// The about box: created hidden at start-up, shown on request, hidden again
// when closed.
#pragma once

#include "ui/BaseWindow.h"

namespace lumora {

class TLMAboutForm : public BaseWindow {
  public:
    bool Create(HWND owner);

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace lumora
