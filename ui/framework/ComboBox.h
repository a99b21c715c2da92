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
    // The images of the list at one size: BITMAP resources of |size| x
    // |size| pixels, in the order of their image indexes.
    struct ImageSet {
        int size = 16;
        std::vector<int> resources;
    };
    struct Args : ControlArgs {
        std::vector<std::wstring> items;
        std::vector<int> itemImages;  // image index per item
        // The same images at each size they are made at, smallest first:
        // the 16 x 16 ones of the 96-dpi design. The list shows the largest
        // size that is not larger than 16 pixels laid out at the window's
        // dpi; the images themselves are never stretched.
        std::vector<ImageSet> imageSets;
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
