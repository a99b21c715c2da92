#include "platform/WindowsVersion_win.h"

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

}  // namespace lumora
