#include "ui/PrepareForm.h"

#include "ui/Captions.h"
#include "ui/SystemFont.h"

namespace lumora {

void PrepareForm(FormWindow& form) {
    form.FollowDesktopFont();
    NormalizeFormFonts(form);
    LoadFormCaptions(form);
}

}  // namespace lumora
