// The main window: the program's one working screen. Closing it ends the
// program; nothing is saved on the way out.
#pragma once

#include "ui/BaseWindow.h"

namespace lumora {

class TLMMainForm : public BaseWindow {
  public:
    bool Create();

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace lumora
