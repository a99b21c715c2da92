// Which way a page, document or program is opened so that it runs with the
// user's own rights. The program runs elevated; on Windows Vista and later,
// with UAC splitting the administrator's token, everything it opened itself
// would run elevated too (a browser with full rights leaves files in the
// user's profile that the user cannot change). There the request goes to the
// desktop's shell, which runs with the user's rights; everywhere else, and
// whenever the desktop's shell does not take it, the program opens it
// itself. This is the choice alone; the Windows calls are in
// DesktopShell_win.cpp and Shell_win.cpp.
#pragma once

#include <cstdint>
#include <functional>

namespace lumora {

// How the process's token stands to UAC, as TokenElevationType reports it;
// Unknown where the system cannot say (before Vista the query knows no such
// class and fails).
enum class TokenElevation {
    Unknown,
    Default,  // no split token: UAC off, the built-in Administrator, a plain user
    Full,     // the elevated half of a split token
    Limited,  // the filtered half of a split token
};

// The elevation for a TOKEN_ELEVATION_TYPE value (1 default, 2 full,
// 3 limited); Unknown for any other.
TokenElevation TokenElevationFromType(int type);

// The way a request was opened.
enum class OpenWay {
    ThisProcess,   // by this process itself, with its own rights
    DesktopShell,  // by the desktop's shell, with the user's rights
};

// True when a request has to go to the desktop's shell to run with the
// user's rights: on Windows Vista or later (major version 6 on) in the
// elevated half of a split token.
bool NeedsDesktopShell(std::uint32_t windowsMajorVersion, TokenElevation elevation);

// Opens one request: through |desktopShell| where NeedsDesktopShell says so,
// and through |thisProcess| everywhere else and whenever |desktopShell|
// returns false (it did not take the request). The way that opened it.
OpenWay OpenWithUserRights(std::uint32_t windowsMajorVersion, TokenElevation elevation,
                           const std::function<bool()>& desktopShell,
                           const std::function<void()>& thisProcess);

}  // namespace lumora
