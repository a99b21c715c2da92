#include "tuning/WindowsEditions.h"

#include <algorithm>

namespace lumora {

namespace {

const WindowsEdition* EditionOf(std::int32_t osIndex) {
    const WindowsEdition* end = kWindowsEditions + kWindowsEditionCount;
    const WindowsEdition* found = std::find_if(
        kWindowsEditions, end,
        [osIndex](const WindowsEdition& edition) { return edition.osIndex == osIndex; });
    return found == end ? nullptr : found;
}

}  // namespace

std::int32_t ConvertWindowsVersion(std::int32_t item) {
    if (item < 0 || static_cast<std::size_t>(item) >= kWindowsEditionCount) {
        return os_index::kUnknown;
    }
    return kWindowsEditions[item].osIndex;
}

std::int32_t WindowsItemForOsIndex(std::int32_t osIndex) {
    const WindowsEdition* edition = EditionOf(osIndex);
    return edition == nullptr ? 0 : static_cast<std::int32_t>(edition - kWindowsEditions);
}

bool IsServerEdition(std::int32_t osIndex) {
    const WindowsEdition* edition = EditionOf(osIndex);
    return edition != nullptr && edition->kind == EditionKind::Server;
}

bool IsWorkstationEdition(std::int32_t osIndex) {
    const WindowsEdition* edition = EditionOf(osIndex);
    return edition != nullptr && edition->kind == EditionKind::Workstation;
}

}  // namespace lumora
