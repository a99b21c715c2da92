#include "tests/e2e/RegExport.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

namespace lumora::test {

namespace {

constexpr DWORD kExportTimeoutMs = 60000;

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
    return Lowered(text.substr(0, prefix.size())) == Lowered(prefix);
}

// The text of a .reg file: UTF-16LE with a byte-order mark.
std::wstring ReadUtf16File(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::wstring();
    }
    std::wstring text;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart >= 2) {
        text.resize(static_cast<std::size_t>(size.QuadPart) / sizeof(wchar_t));
        DWORD got = 0;
        ReadFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &got,
                 nullptr);
        text.resize(got / sizeof(wchar_t));
        if (!text.empty() && text.front() == 0xFEFF) {
            text.erase(0, 1);
        }
    }
    CloseHandle(file);
    return text;
}

// A quoted name from |at| on, with its \\ and \" escapes undone; |at| ends
// past the closing quote.
std::wstring QuotedName(const std::wstring& line, std::size_t& at) {
    std::wstring name;
    for (++at; at < line.size() && line[at] != L'"'; ++at) {
        if (line[at] == L'\\' && at + 1 < line.size()) {
            ++at;
        }
        name += line[at];
    }
    ++at;
    return name;
}

}  // namespace

std::wstring Lowered(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return text;
}

RegDump ParseRegFile(const std::wstring& text) {
    // Logical lines: a line ending in a backslash (long hex data; a text or
    // a section ends in its quote or bracket) goes on in the next one.
    std::vector<std::wstring> lines;
    std::wstring current;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) {
            end = text.size();
        }
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') {
            line.pop_back();
        }
        if (!current.empty()) {
            line.erase(0, line.find_first_not_of(L' '));
        }
        if (!line.empty() && line.back() == L'\\') {
            current += line.substr(0, line.size() - 1);
        } else {
            lines.push_back(current + line);
            current.clear();
        }
        start = end + 1;
    }

    RegDump dump;
    RegKeyValues* section = nullptr;
    for (const std::wstring& line : lines) {
        if (line.size() > 2 && line.front() == L'[' && line.back() == L']') {
            section = &dump[Lowered(line.substr(1, line.size() - 2))];
        } else if (section != nullptr && !line.empty() && (line[0] == L'"' || line[0] == L'@')) {
            std::size_t at = 0;
            std::wstring name;
            if (line[0] == L'"') {
                name = QuotedName(line, at);
            } else {
                at = 1;
            }
            if (at < line.size() && line[at] == L'=') {
                (*section)[name] = line.substr(at + 1);
            }
        }
    }
    return dump;
}

namespace {

// Whether the key exists, in the view its export reads.
bool KeyExists(const std::wstring& key, bool view32) {
    const std::wstring hklm = L"HKEY_LOCAL_MACHINE\\";
    const std::wstring hkcu = L"HKEY_CURRENT_USER\\";
    HKEY root = nullptr;
    std::wstring path;
    if (StartsWith(key, hklm)) {
        root = HKEY_LOCAL_MACHINE;
        path = key.substr(hklm.size());
    } else if (StartsWith(key, hkcu)) {
        root = HKEY_CURRENT_USER;
        path = key.substr(hkcu.size());
    } else {
        return false;
    }
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | (view32 ? KEY_WOW64_32KEY : 0), &opened) !=
        ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(opened);
    return true;
}

// One key's export: the reg.exe process and the file it writes.
struct Export {
    std::wstring key;
    bool view32 = false;
    std::wstring file;
    HANDLE process = nullptr;
    DWORD startError = 0;
};

}  // namespace

RegDump ExportKeys(const std::vector<std::wstring>& wanted) {
    // A key comes with the export of any key above it.
    std::vector<Export> exports;
    for (const std::wstring& key : wanted) {
        const bool covered = std::any_of(wanted.begin(), wanted.end(), [&key](const auto& other) {
            return StartsWith(key, other + L"\\");
        });
        const bool listed = std::any_of(exports.begin(), exports.end(),
                                        [&key](const Export& e) { return e.key == key; });
        if (!covered && !listed) {
            exports.push_back({key, StartsWith(key, L"HKEY_LOCAL_MACHINE\\Software\\"), {}, {}, 0});
        }
    }
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    for (std::size_t i = 0; i < exports.size(); ++i) {
        Export& e = exports[i];
        e.file = std::wstring(temp) + L"lumora-export-" + std::to_wstring(GetCurrentProcessId()) +
                 L"-" + std::to_wstring(i) + L".reg";
        DeleteFileW(e.file.c_str());
        std::wstring command = L"reg.exe export \"" + e.key + L"\" \"" + e.file + L"\" /y";
        if (e.view32) {
            command += L" /reg:32";
        }
        std::vector<wchar_t> line(command.begin(), command.end());
        line.push_back(L'\0');
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                           nullptr, &si, &pi)) {
            CloseHandle(pi.hThread);
            e.process = pi.hProcess;
        } else {
            e.startError = GetLastError();
        }
    }
    // Every export either gives the key's section or finds no key: one that
    // failed would read as values absent, so it is a failure of its own.
    RegDump dump;
    for (Export& e : exports) {
        const std::string what = "reg.exe export of " + testing::PrintToString(e.key);
        DWORD exitCode = STILL_ACTIVE;
        if (e.process == nullptr) {
            ADD_FAILURE() << what << " did not start, error " << e.startError;
        } else if (WaitForSingleObject(e.process, kExportTimeoutMs) != WAIT_OBJECT_0) {
            ADD_FAILURE() << what << " did not end within " << kExportTimeoutMs << " ms";
            TerminateProcess(e.process, 1);
            WaitForSingleObject(e.process, kExportTimeoutMs);
        } else {
            GetExitCodeProcess(e.process, &exitCode);
        }
        if (e.process != nullptr) {
            CloseHandle(e.process);
        }
        const RegDump part = ParseRegFile(ReadUtf16File(e.file));
        DeleteFileW(e.file.c_str());
        const bool exists = KeyExists(e.key, e.view32);
        if (exitCode == 0 && part.count(Lowered(e.key)) == 0) {
            ADD_FAILURE() << what << " ended well but its file holds no section of the key";
        } else if (exitCode != 0 && exitCode != STILL_ACTIVE && exists) {
            ADD_FAILURE() << what << " failed with exit code " << exitCode
                          << ", though the key exists";
        }
        for (const auto& [key, values] : part) {
            dump[key].insert(values.begin(), values.end());
        }
    }
    return dump;
}

}  // namespace lumora::test
