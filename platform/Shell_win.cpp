#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "platform/Shell.h"

namespace lumora {

std::wstring ProgramFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
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

void ExecuteFileDetached(const std::wstring& file, const std::wstring& parameters) {
    try {
        ShellExecuteW(nullptr, L"open", file.c_str(),
                      parameters.empty() ? nullptr : parameters.c_str(), nullptr, SW_SHOW);
    } catch (...) {
    }
}

}  // namespace lumora
