// The preparation every window of the program goes through before it shows:
// the desktop's font, followed from then on, the components' fonts unified
// with it, and the captions of the language the program key names.
#pragma once

#include "ui/framework/FormWindow.h"

namespace lumora {

void PrepareForm(FormWindow& form);

}  // namespace lumora
