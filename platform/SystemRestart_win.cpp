#include <windows.h>

#include "platform/SystemRestart.h"

namespace lumora {

namespace {

bool SystemRestartRequest(unsigned int flags, unsigned long reason) {
    return ExitWindowsEx(flags, reason) != FALSE;
}

RestartRequest g_restartRequest = SystemRestartRequest;

// One privilege entry: the previous state fits the 16 bytes it is given.
static_assert(sizeof(TOKEN_PRIVILEGES) == 16, "one-entry privilege set");

}  // namespace

void SetShutdownPrivilege(bool enable) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        return;
    }
    TOKEN_PRIVILEGES privileges{};
    if (LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) {
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
        TOKEN_PRIVILEGES previous{};
        DWORD previousLength = 0;
        AdjustTokenPrivileges(token, FALSE, &privileges, sizeof(previous), &previous,
                              &previousLength);
    }
    CloseHandle(token);
}

void RestartWindows() {
    SetShutdownPrivilege(true);
    g_restartRequest(EWX_REBOOT | EWX_FORCE, 0);
    SetShutdownPrivilege(false);
}

RestartRequest ReplaceRestartRequest(RestartRequest request) {
    const RestartRequest previous = g_restartRequest;
    g_restartRequest = request != nullptr ? request : SystemRestartRequest;
    return previous;
}

}  // namespace lumora
