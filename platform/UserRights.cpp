#include "platform/UserRights.h"

namespace lumora {

namespace {

// Windows Vista is 6.0; Windows 2000 and XP (5.x) have no UAC.
constexpr std::uint32_t kVistaMajorVersion = 6;

}  // namespace

TokenElevation TokenElevationFromType(int type) {
    switch (type) {
        case 1:
            return TokenElevation::Default;
        case 2:
            return TokenElevation::Full;
        case 3:
            return TokenElevation::Limited;
        default:
            return TokenElevation::Unknown;
    }
}

bool NeedsDesktopShell(std::uint32_t windowsMajorVersion, TokenElevation elevation) {
    return windowsMajorVersion >= kVistaMajorVersion && elevation == TokenElevation::Full;
}

OpenWay OpenWithUserRights(std::uint32_t windowsMajorVersion, TokenElevation elevation,
                           const std::function<bool()>& desktopShell,
                           const std::function<void()>& thisProcess) {
    if (NeedsDesktopShell(windowsMajorVersion, elevation) && desktopShell && desktopShell()) {
        return OpenWay::DesktopShell;
    }
    if (thisProcess) {
        thisProcess();
    }
    return OpenWay::ThisProcess;
}

}  // namespace lumora
