#include "ui/SystemFont.h"

namespace lumora {

void NormalizeFormFonts(FontedForm& form) {
    try {
        FontSpec formFont = form.Font();
        if (formFont.points > kMaxFormFontPoints) {
            formFont.points = kMaxFormFontPoints;
            form.SetFont(formFont);
        }
        const std::size_t count = form.ComponentCount();
        for (std::size_t i = 0; i < count; ++i) {
            FontedComponent& component = form.FontedComponentAt(i);
            if (component.ParentFont() || !component.HasFont()) {
                continue;
            }
            FontSpec font = component.Font();
            font.face = formFont.face;
            if (font.points < formFont.points) {
                font.points = formFont.points;
            }
            component.SetFont(font);
        }
    } catch (...) {
        // Fonts set so far stay.
    }
}

}  // namespace lumora
