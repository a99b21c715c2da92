#include "tuning/TuningChoices.h"

#include "tuning/WindowsEditions.h"

namespace lumora {

TuningChoices ChoicesFromSelection(std::int32_t windowsItem, std::int32_t processorItem,
                                   std::int32_t connectionType, std::int32_t speedPosition) {
    return TuningChoices{.osIndex = ConvertWindowsVersion(windowsItem),
                         .connectionType = connectionType,
                         .speedSetting = speedPosition,
                         .processorType = processorItem};
}

}  // namespace lumora
