// The progress dialog of the optimize and restore runs: created hidden at
// start-up, shown modeless while a run is under way.
#pragma once

#include "ui/BaseWindow.h"

namespace lumora {

class TLMSettingsForm : public BaseWindow {
  public:
    bool Create(HWND owner);

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace lumora
