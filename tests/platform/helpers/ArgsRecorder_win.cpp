// A stand-in program for the shell tests: writes the arguments it was started
// with, one a line in UTF-16, to the file named by LUMORA_ARGS_RECORD. The
// file appears complete or not at all.
#include <windows.h>

#include <shellapi.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t target[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"LUMORA_ARGS_RECORD", target, MAX_PATH) == 0) {
        return 2;
    }
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring text;
    for (int i = 1; argv != nullptr && i < argc; ++i) {
        text += argv[i];
        text += L'\n';
    }
    LocalFree(argv);
    const std::wstring partial = std::wstring(target) + L".partial";
    HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 3;
    }
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written,
              nullptr);
    CloseHandle(file);
    return MoveFileExW(partial.c_str(), target, MOVEFILE_REPLACE_EXISTING) ? 0 : 4;
}
