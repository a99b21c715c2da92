// The version query behind GetWindowsVersion, open to a stand-in so that the
// fall-back to the plain record can be exercised where the system's query
// never fails; the same for the question behind IsWindows64Bit, whose
// function Windows 2000 lacks.
#pragma once

#include <windows.h>

namespace lumora {

using VersionQuery = BOOL(WINAPI*)(OSVERSIONINFOW* record);

// GetWindowsVersion over |query| in place of GetVersionExW.
int GetWindowsVersionWith(VersionQuery query);

using Wow64Query = BOOL(WINAPI*)(HANDLE process, BOOL* wow64);

// IsWindows64Bit over |query| in place of kernel32's IsWow64Process; null
// stands for a kernel32 without it.
bool IsWindows64BitWith(Wow64Query query);

}  // namespace lumora
