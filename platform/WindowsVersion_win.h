// The version query behind GetWindowsVersion, open to a stand-in so that the
// fall-back to the plain record can be exercised where the system's query
// never fails.
#pragma once

#include <windows.h>

namespace lumora {

using VersionQuery = BOOL(WINAPI*)(OSVERSIONINFOW* record);

// GetWindowsVersion over |query| in place of GetVersionExW.
int GetWindowsVersionWith(VersionQuery query);

}  // namespace lumora
