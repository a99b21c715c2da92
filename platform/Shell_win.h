// The choice of way behind ExecuteFile, ExecuteFileDetached and OpenUrl,
// open to a test that names the system or the token to choose for. Wine
// gives every program the elevated token, its desktop's shell's included,
// without a split token: there the requests go to the desktop's shell, and
// reach this process only when a test says so.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/UserRights.h"

namespace lumora {

// Opens |file| (not empty) with |parameters| (none when empty) as the
// requests of platform/Shell.h do, as if the process ran on a Windows of
// |windowsMajorVersion| with a token of |elevation|; |owner| owns what the
// shell shows when this process opens it itself. The way that opened it.
OpenWay OpenWithUserRightsAs(std::uint32_t windowsMajorVersion, TokenElevation elevation,
                             HWND owner, const std::wstring& file, const std::wstring& parameters);

// The elevation that ExecuteFile, ExecuteFileDetached and OpenUrl take this
// process's token to have from now on: |elevation|, or the token's own
// again for nullopt (the default).
void SetShellRequestElevation(std::optional<TokenElevation> elevation);

}  // namespace lumora
