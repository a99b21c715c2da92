// Every kind of control of the window framework, for a window that holds
// several kinds.
#pragma once

#include "ui/framework/Bevel.h"
#include "ui/framework/ComboBox.h"
#include "ui/framework/Control.h"
#include "ui/framework/Image.h"
#include "ui/framework/Label.h"
#include "ui/framework/Memo.h"
#include "ui/framework/Menu.h"
#include "ui/framework/Panel.h"
#include "ui/framework/ProgressBar.h"
#include "ui/framework/PushButton.h"
#include "ui/framework/TrackBar.h"
