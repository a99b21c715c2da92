// A stand-in for a program that Lumora starts (the updater, its own second
// instance, a browser): it appends its command line to "<its own path>.log"
// and ends. When "<its own path>.token" exists, it first writes there how its
// token stands to UAC, "TokenElevationType=<n> TokenElevation=<n>" (-1 where
// the system does not say), so that a test can tell with which rights it was
// started. A test that asks for it makes that file empty beforehand.
#include <windows.h>

#include <string>

namespace {

// A TOKEN_INFORMATION_CLASS of one DWORD, or -1.
long TokenNumber(HANDLE token, TOKEN_INFORMATION_CLASS kind) {
    DWORD value = 0;
    DWORD size = 0;
    if (token == nullptr || !GetTokenInformation(token, kind, &value, sizeof(value), &size) ||
        size != sizeof(value)) {
        return -1;
    }
    return static_cast<long>(value);
}

void RecordToken(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        token = nullptr;
    }
    const std::string text =
        "TokenElevationType=" + std::to_string(TokenNumber(token, TokenElevationType)) +
        " TokenElevation=" + std::to_string(TokenNumber(token, TokenElevation));
    if (token != nullptr) {
        CloseHandle(token);
    }
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring token = std::wstring(path) + L".token";
    if (GetFileAttributesW(token.c_str()) != INVALID_FILE_ATTRIBUTES) {
        RecordToken(token);
    }
    const std::wstring log = std::wstring(path) + L".log";
    HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    const std::wstring line = std::wstring(GetCommandLineW()) + L"\r\n";
    DWORD written = 0;
    WriteFile(file, line.c_str(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written,
              nullptr);
    CloseHandle(file);
    return 0;
}
