// The user's four choices as a run works with them, read once from the main
// window when the run starts, with the width of the Windows it runs on.
// Four numbers of one type that a swap would not reveal: build them by
// their names ({.osIndex = ..., .connectionType = ...}).
#pragma once

#include <cstdint>

#include "registry/ProgramKey.h"
#include "tuning/TweakCatalogue.h"

namespace lumora {

struct TuningChoices {
    std::int32_t osIndex;         // ConvertWindowsVersion of the edition item
    std::int32_t connectionType;  // item of the connection list (ConnectionTypes.h)
    std::int32_t speedSetting;    // track bar position
    std::int32_t processorType = program_key::kDefaultProcessorType;  // item of the processor list
    // Not chosen but found: the Windows the program runs on (TweakView).
    WindowsWidth windowsWidth = WindowsWidth::Bits32;
};

// The choices from the items of the main window's lists and the track bar.
TuningChoices ChoicesFromSelection(std::int32_t windowsItem, std::int32_t processorItem,
                                   std::int32_t connectionType, std::int32_t speedPosition);

}  // namespace lumora
