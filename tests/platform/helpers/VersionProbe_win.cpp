// Prints what the system reports about its version and the OS index taken
// from it: "<major> <minor> <product type> <index> <plain index>", the last
// one from the plain record alone, as when the extended query is refused.
// The version tests start it under the Windows versions Wine imitates.
#include <windows.h>

#include <cstdio>

#include "platform/WindowsVersion.h"
#include "platform/WindowsVersion_win.h"

namespace {

// The system's query, refusing the extended record.
BOOL WINAPI PlainOnlyQuery(OSVERSIONINFOW* record) {
    if (record->dwOSVersionInfoSize != sizeof(OSVERSIONINFOW)) {
        return FALSE;
    }
    return GetVersionExW(record);
}

}  // namespace

int main() {
    OSVERSIONINFOEXW record{};
    record.dwOSVersionInfoSize = sizeof(record);
    GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&record));
    std::printf("%lu %lu %u %d %d\n", static_cast<unsigned long>(record.dwMajorVersion),
                static_cast<unsigned long>(record.dwMinorVersion),
                static_cast<unsigned>(record.wProductType), lumora::GetWindowsVersion(),
                lumora::GetWindowsVersionWith(PlainOnlyQuery));
    return 0;
}
