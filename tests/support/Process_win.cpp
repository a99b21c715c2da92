#include "tests/support/Process.h"

#include <vector>

namespace lumora::test {

std::wstring TestFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

Started Start(const std::wstring& commandLine) {
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    Started started;
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                       &pi)) {
        CloseHandle(pi.hThread);
        started.process = pi.hProcess;
        started.id = pi.dwProcessId;
    }
    return started;
}

int WaitForExit(Started& started, DWORD timeoutMs) {
    if (started.process == nullptr) {
        return -1;
    }
    int result = -1;
    if (WaitForSingleObject(started.process, timeoutMs) == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(started.process, &code);
        result = static_cast<int>(code);
    } else {
        TerminateProcess(started.process, 1);
        WaitForSingleObject(started.process, 5000);
    }
    CloseHandle(started.process);
    started.process = nullptr;
    return result;
}

std::string RunAndCapture(const std::wstring& commandLine, DWORD timeoutMs) {
    SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) {
        return std::string();
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    std::string output;
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                       nullptr, &si, &pi)) {
        CloseHandle(writeEnd);
        writeEnd = nullptr;
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
            output.append(buffer, got);
        }
        WaitForSingleObject(pi.hProcess, timeoutMs);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    if (writeEnd != nullptr) {
        CloseHandle(writeEnd);
    }
    CloseHandle(readEnd);
    return output;
}

namespace {
struct WindowSearch {
    const wchar_t* windowClass;
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (wcscmp(name, search->windowClass) == 0 &&
        (search->processId == 0 || pid == search->processId)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND WaitForWindow(const wchar_t* windowClass, DWORD processId, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        WindowSearch search{windowClass, processId, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            return search.found;
        }
        if (GetTickCount() - start > timeoutMs) {
            return nullptr;
        }
        Sleep(50);
    }
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        Sleep(20);
    }
    return true;
}

bool OnWindows64() {
#if defined(_WIN64)
    return true;
#else
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
#endif
}

}  // namespace lumora::test
