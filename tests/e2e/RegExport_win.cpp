#include "tests/e2e/RegExport.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>

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

RegDump ExportKeys(const std::vector<std::wstring>& wanted) {
    // A key comes with the export of any key above it.
    std::vector<std::wstring> keys;
    for (const std::wstring& key : wanted) {
        const bool covered = std::any_of(wanted.begin(), wanted.end(), [&key](const auto& other) {
            return StartsWith(key, other + L"\\");
        });
        if (!covered && std::find(keys.begin(), keys.end(), key) == keys.end()) {
            keys.push_back(key);
        }
    }
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::vector<std::wstring> files;
    std::vector<HANDLE> processes;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::wstring file = std::wstring(temp) + L"lumora-export-" +
                                  std::to_wstring(GetCurrentProcessId()) + L"-" +
                                  std::to_wstring(i) + L".reg";
        DeleteFileW(file.c_str());
        std::wstring command = L"reg.exe export \"" + keys[i] + L"\" \"" + file + L"\" /y";
        if (StartsWith(keys[i], L"HKEY_LOCAL_MACHINE\\Software\\")) {
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
            processes.push_back(pi.hProcess);
        }
        files.push_back(file);
    }
    for (HANDLE process : processes) {
        WaitForSingleObject(process, kExportTimeoutMs);
        CloseHandle(process);
    }
    RegDump dump;
    for (const std::wstring& file : files) {
        for (auto& [key, values] : ParseRegFile(ReadUtf16File(file))) {
            dump[key].insert(values.begin(), values.end());
        }
        DeleteFileW(file.c_str());
    }
    return dump;
}

}  // namespace lumora::test
