// The domain reaching up into the windows: the check must refuse this.
#include "tuning/Plan.h"
#include "ui/Captions.h"
