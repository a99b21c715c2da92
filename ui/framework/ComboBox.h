// A drop-down list with images. It raises no events: the window reads its
// selection when it needs it.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "ui/framework/Control.h"

namespace lumora {

class ComboBox : public Control {
  public:
    struct Args : ControlArgs {
        std::vector<std::wstring> items;
        std::vector<int> itemImages;      // image index per item
        std::vector<int> imageResources;  // 16 x 16 BITMAP resources of the image list
    };
    void Create(FormWindow& form, const Args& args);

    bool HasFont() const override { return true; }
    // The selected item, -1 for none.
    int ItemIndex() const { return hwnd_ != nullptr ? static_cast<int>(Send(CB_GETCURSEL)) : -1; }
    void SetItemIndex(int index) { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }

  protected:
    void MakeWindow(HDC measure) override;

    Args content_;  // items and images until the list is made
};

}  // namespace lumora
