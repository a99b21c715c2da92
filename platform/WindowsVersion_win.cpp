#include "platform/WindowsVersion_win.h"

#include "common/SystemLibrary.h"
#include "platform/WindowsVersion.h"

namespace lumora {

static_assert(sizeof(OSVERSIONINFOEXW) == 284, "extended version record");
static_assert(sizeof(OSVERSIONINFOW) == 276, "plain version record");

namespace {

BOOL WINAPI SystemVersionQuery(OSVERSIONINFOW* record) {
    return GetVersionExW(record);
}

}  // namespace

int GetWindowsVersionWith(VersionQuery query) {
    // The extended record first; when the query refuses it, the plain
    // record, which does not reach the product type: that stays 0.
    OSVERSIONINFOEXW record{};
    record.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXW);
    auto* plain = reinterpret_cast<OSVERSIONINFOW*>(&record);
    if (!query(plain)) {
        record = OSVERSIONINFOEXW{};
        record.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
        query(plain);
    }
    return OsIndexFor(record.dwMajorVersion, record.dwMinorVersion, record.wProductType);
}

int GetWindowsVersion() {
    return GetWindowsVersionWith(SystemVersionQuery);
}

bool IsWindows64BitWith(Wow64Query query) {
#if defined(_WIN64)
    static_cast<void>(query);
    return true;
#else
    BOOL wow64 = FALSE;
    return query != nullptr && query(GetCurrentProcess(), &wow64) && wow64;
#endif
}

bool IsWindows64Bit() {
    // kernel32 is in every process: asked for by name, never loaded.
    return IsWindows64BitWith(
        ProcAddress<Wow64Query>(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process"));
}

}  // namespace lumora
