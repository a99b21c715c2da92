#include "common/SystemLibrary.h"

#include <vector>

namespace lumora {

std::wstring SystemFolder() {
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    UINT n = GetSystemDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    if (n >= buffer.size()) {
        buffer.resize(n + 1);
        n = GetSystemDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    }
    if (n == 0 || n >= buffer.size()) {
        return std::wstring();
    }
    std::wstring folder(buffer.data(), n);
    if (folder.back() != L'\\') {
        folder += L'\\';
    }
    return folder;
}

HMODULE LoadSystemLibrary(const std::wstring& fileName) {
    if (fileName.empty() || fileName.find_first_of(L"\\/:") != std::wstring::npos) {
        return nullptr;
    }
    const std::wstring folder = SystemFolder();
    if (folder.empty()) {
        return nullptr;
    }
    // With a full path, the altered search order also takes the library's own
    // dependencies from its folder.
    return LoadLibraryExW((folder + fileName).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace lumora
