#include "platform/Shell.h"

#include <shellapi.h>

#include <vector>

#include "common/SystemLibrary.h"
#include "platform/DesktopShell_win.h"
#include "platform/HelpControl.h"
#include "platform/ShellAddresses.h"
#include "platform/Shell_win.h"

namespace lumora {

namespace {

HWND g_ownerWindow = nullptr;
std::optional<TokenElevation> g_requestElevation;

using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND owner, const wchar_t* verb,
                                                const wchar_t* file, const wchar_t* parameters,
                                                const wchar_t* folder, int show);

// The shell's libraries take time and memory to load and are needed only
// when something is opened: shell32.dll is loaded on first use, not at start.
ShellExecuteFunction ShellExecuteEntry() {
    static ShellExecuteFunction entry = nullptr;
    if (entry == nullptr) {
        entry =
            ProcAddress<ShellExecuteFunction>(LoadSystemLibrary(L"shell32.dll"), "ShellExecuteW");
    }
    return entry;
}

// ShellExecuteW in this process, with its rights.
void ShellOpenHere(HWND owner, const std::wstring& file, const std::wstring& parameters) {
    if (const ShellExecuteFunction shellExecute = ShellExecuteEntry()) {
        shellExecute(owner, L"open", file.c_str(),
                     parameters.empty() ? nullptr : parameters.c_str(), nullptr, SW_SHOW);
    }
}

// The major version of the running Windows (5 for 2000 and XP, 6 for Vista
// to 8.1, 10); 0 when it cannot be read.
std::uint32_t WindowsMajorVersion() {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    return GetVersionExW(&version) ? version.dwMajorVersion : 0;
}

// A request that runs with the user's rights.
void ShellOpenAsUser(HWND owner, const std::wstring& file, const std::wstring& parameters) {
    // An empty file would have the shell open the current folder.
    if (!file.empty()) {
        OpenWithUserRightsAs(WindowsMajorVersion(),
                             g_requestElevation ? *g_requestElevation : ProcessTokenElevation(),
                             owner, file, parameters);
    }
}

}  // namespace

OpenWay OpenWithUserRightsAs(std::uint32_t windowsMajorVersion, TokenElevation elevation,
                             HWND owner, const std::wstring& file, const std::wstring& parameters) {
    return OpenWithUserRights(
        windowsMajorVersion, elevation,
        [&] { return OpenThroughDesktopShell(file, parameters) == DesktopShellStep::Opened; },
        [&] { ShellOpenHere(owner, file, parameters); });
}

void SetShellRequestElevation(std::optional<TokenElevation> elevation) {
    g_requestElevation = elevation;
}

std::wstring ProgramFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            return std::wstring();
        }
        if (n < buffer.size()) {
            std::wstring path(buffer.data(), n);
            return path.substr(0, path.find_last_of(L"\\/") + 1);
        }
        if (buffer.size() >= 32768) {
            return std::wstring();
        }
        buffer.resize(buffer.size() * 2);
    }
}

void SetShellOwnerWindow(HWND owner) {
    g_ownerWindow = owner;
}

void ExecuteFile(const std::wstring& file, const std::wstring& parameters) {
    ShellOpenAsUser(g_ownerWindow, file, parameters);
}

void ExecuteFileDetached(const std::wstring& file, const std::wstring& parameters) {
    ShellOpenAsUser(nullptr, file, parameters);
}

void ExecuteFileDetachedKeepingRights(const std::wstring& file, const std::wstring& parameters) {
    if (!file.empty()) {
        ShellOpenHere(nullptr, file, parameters);
    }
}

void ShowHelpTopic(const std::wstring& helpFile, const std::wstring& topic) {
    SystemHelpControl().DisplayTopic(HelpAddress(ProgramFolder(), helpFile, topic));
}

void OpenUrl(const std::wstring& target) {
    ShellOpenAsUser(g_ownerWindow, target, std::wstring());
}

}  // namespace lumora
