#include "ui/framework/FontCache_win.h"

#include <algorithm>

#include "ui/framework/LogFont_win.h"

namespace lumora {

FontCache::~FontCache() {
    for (const Entry& entry : fonts_) {
        DeleteObject(entry.font);
    }
}

HFONT FontCache::Shared(const FontSpec& font) {
    FontSpec design = font;
    design.color = kDefaultTextColor;
    if (dpi_ == 0) {
        dpi_ = ScreenDpi();
    }
    const int dpi = dpi_;
    const auto known = std::find_if(fonts_.begin(), fonts_.end(), [&](const Entry& entry) {
        return entry.dpi == dpi && entry.design == design;
    });
    if (known != fonts_.end()) {
        return known->font;
    }
    const LOGFONTW logFont = LogFontFromSpec(design, dpi);
    HFONT made = CreateFontIndirectW(&logFont);
    if (made != nullptr) {
        fonts_.push_back(Entry{design, dpi, made});
    }
    return made;
}

void FontCache::DropUnused(const std::function<bool(HFONT)>& shown) {
    auto unused = [&shown](const Entry& entry) {
        const bool used = shown(entry.font);
        if (!used) {
            DeleteObject(entry.font);
        }
        return !used;
    };
    fonts_.erase(std::remove_if(fonts_.begin(), fonts_.end(), unused), fonts_.end());
}

}  // namespace lumora
