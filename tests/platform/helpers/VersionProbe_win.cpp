// Prints what the system reports about its version and the OS index taken
// from it: "<major> <minor> <product type> <index>". The version tests start
// it under the Windows versions Wine imitates.
#include <windows.h>

#include <cstdio>

#include "platform/WindowsVersion.h"

int main() {
    OSVERSIONINFOEXW record{};
    record.dwOSVersionInfoSize = sizeof(record);
    GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&record));
    std::printf("%lu %lu %u %d\n", static_cast<unsigned long>(record.dwMajorVersion),
                static_cast<unsigned long>(record.dwMinorVersion),
                static_cast<unsigned>(record.wProductType), lumora::GetWindowsVersion());
    return 0;
}
