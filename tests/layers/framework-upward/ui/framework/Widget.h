// A framework header that reaches up into the program's own windows.
#pragma once

#include "ui/Captions.h"
