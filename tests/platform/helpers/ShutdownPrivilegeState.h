// Reads the shutdown privilege back from the process's own token.
#pragma once

#include <windows.h>

#include <vector>

namespace lumora::test {

enum class PrivilegeState { Unknown, Absent, Disabled, Enabled };

inline PrivilegeState ShutdownPrivilegeState() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return PrivilegeState::Unknown;
    }
    PrivilegeState state = PrivilegeState::Unknown;
    LUID luid{};
    DWORD size = 0;
    GetTokenInformation(token, TokenPrivileges, nullptr, 0, &size);
    std::vector<DWORD> buffer(size / sizeof(DWORD) + 1);
    if (LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &luid) &&
        GetTokenInformation(token, TokenPrivileges, buffer.data(),
                            static_cast<DWORD>(buffer.size() * sizeof(DWORD)), &size)) {
        const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
        state = PrivilegeState::Absent;
        for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
            const LUID_AND_ATTRIBUTES& entry = privileges->Privileges[i];
            if (entry.Luid.LowPart == luid.LowPart && entry.Luid.HighPart == luid.HighPart) {
                state = (entry.Attributes & SE_PRIVILEGE_ENABLED) != 0 ? PrivilegeState::Enabled
                                                                       : PrivilegeState::Disabled;
            }
        }
    }
    CloseHandle(token);
    return state;
}

inline const char* NameOf(PrivilegeState state) {
    switch (state) {
        case PrivilegeState::Absent:
            return "absent";
        case PrivilegeState::Disabled:
            return "disabled";
        case PrivilegeState::Enabled:
            return "enabled";
        default:
            return "unknown";
    }
}

}  // namespace lumora::test
