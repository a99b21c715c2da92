// Removes the shutdown privilege from its own token, then switches it and
// restarts through a recorder in place of ExitWindowsEx. Prints
// "<state after removal> <state at the end> <requests> <flags>". The restart
// tests start it, since a token that has lost a privilege keeps it lost.
#include <windows.h>

#include <cstdio>

#include "platform/SystemRestart.h"
#include "tests/platform/helpers/ShutdownPrivilegeState.h"

namespace {

int g_requests = 0;
unsigned int g_flags = 0;

bool Record(unsigned int flags, unsigned long) {
    ++g_requests;
    g_flags = flags;
    return false;
}

}  // namespace

int main() {
    using lumora::test::NameOf;
    using lumora::test::ShutdownPrivilegeState;
    lumora::ReplaceRestartRequest(Record);

    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token)) {
        TOKEN_PRIVILEGES removal{};
        removal.PrivilegeCount = 1;
        removal.Privileges[0].Attributes = SE_PRIVILEGE_REMOVED;
        if (LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &removal.Privileges[0].Luid)) {
            AdjustTokenPrivileges(token, FALSE, &removal, 0, nullptr, nullptr);
        }
        CloseHandle(token);
    }
    const char* removed = NameOf(ShutdownPrivilegeState());
    lumora::SetShutdownPrivilege(true);
    lumora::RestartWindows();
    lumora::SetShutdownPrivilege(false);
    std::printf("%s %s %d %u\n", removed, NameOf(ShutdownPrivilegeState()), g_requests, g_flags);
    return 0;
}
