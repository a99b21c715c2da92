// The fonts of a window's designs: each design (its colour aside) is made
// once at the screen's dpi and shared by the controls that show it.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "ui/framework/FontSpec.h"

namespace lumora {

class FontCache {
  public:
    FontCache() = default;
    // Deletes every font: the window that showed them is gone.
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    // The font of the design; null when it cannot be made.
    HFONT Shared(const FontSpec& font);
    // Deletes the fonts |shown| says no control shows any more.
    void DropUnused(const std::function<bool(HFONT)>& shown);
    // The screen's dpi is read again for the next font made.
    void ForgetDpi() { dpi_ = 0; }

  private:
    struct Entry {
        FontSpec design;  // colour left at the default
        int dpi = 0;
        HFONT font = nullptr;
    };
    std::vector<Entry> fonts_;
    int dpi_ = 0;  // the screen's, read when a font is first made
};

}  // namespace lumora
