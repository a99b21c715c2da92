#include "tests/e2e/RegExport.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

#include "tests/support/Process.h"

namespace lumora::test {

namespace {

const wchar_t kMachineSoftware[] = L"HKEY_LOCAL_MACHINE\\Software\\";

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
    return Lowered(text.substr(0, prefix.size())) == Lowered(prefix);
}

// A value's data as a .reg file writes it.
std::wstring ExportedData(DWORD type, const std::vector<BYTE>& data) {
    wchar_t piece[32];
    if (type == REG_SZ) {
        std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / 2);
        text.resize(std::min(text.size(), text.find(L'\0')));
        std::wstring quoted = L"\"";
        for (const wchar_t c : text) {
            if (c == L'\\' || c == L'"') {
                quoted += L'\\';
            }
            quoted += c;
        }
        return quoted + L"\"";
    }
    if (type == REG_DWORD && data.size() == 4) {
        DWORD number = 0;
        std::copy(data.begin(), data.end(), reinterpret_cast<BYTE*>(&number));
        std::swprintf(piece, 32, L"dword:%08lx", static_cast<unsigned long>(number));
        return piece;
    }
    std::wstring text;
    if (type == REG_BINARY) {
        text = L"hex:";
    } else {
        std::swprintf(piece, 32, L"hex(%lx):", static_cast<unsigned long>(type));
        text = piece;
    }
    for (std::size_t i = 0; i < data.size(); ++i) {
        std::swprintf(piece, 32, i == 0 ? L"%02x" : L",%02x", data[i]);
        text += piece;
    }
    return text;
}

// The values of |key| and of every key below it into |dump|, under |name|;
// a failed enumeration is a test failure, never values read as absent.
void ReadTree(HKEY key, const std::wstring& name, REGSAM view, RegDump& dump) {
    RegKeyValues& values = dump[Lowered(name)];
    DWORD longestName = 0;
    DWORD longestData = 0;
    DWORD longestSubKey = 0;
    LSTATUS status =
        RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, &longestSubKey, nullptr, nullptr,
                         &longestName, &longestData, nullptr, nullptr);
    if (status != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot read " << testing::PrintToString(name) << ": error " << status;
        return;
    }
    std::vector<wchar_t> valueName(longestName + 1);
    std::vector<BYTE> data(longestData + 2);
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = static_cast<DWORD>(valueName.size());
        DWORD size = static_cast<DWORD>(data.size());
        DWORD type = 0;
        status = RegEnumValueW(key, index, valueName.data(), &nameLength, nullptr, &type,
                               data.data(), &size);
        if (status == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (status != ERROR_SUCCESS) {
            ADD_FAILURE() << "cannot read value " << index << " of " << testing::PrintToString(name)
                          << ": error " << status;
            return;
        }
        values[std::wstring(valueName.data(), nameLength)] =
            ExportedData(type, std::vector<BYTE>(data.begin(), data.begin() + size));
    }
    std::vector<wchar_t> subKeyName(longestSubKey + 1);
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(subKeyName.size());
        status = RegEnumKeyExW(key, index, subKeyName.data(), &length, nullptr, nullptr, nullptr,
                               nullptr);
        if (status == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (status != ERROR_SUCCESS) {
            ADD_FAILURE() << "cannot read subkey " << index << " of "
                          << testing::PrintToString(name) << ": error " << status;
            return;
        }
        const std::wstring subName(subKeyName.data(), length);
        HKEY subKey = nullptr;
        status = RegOpenKeyExW(key, subName.c_str(), 0, KEY_READ | view, &subKey);
        if (status != ERROR_SUCCESS) {
            ADD_FAILURE() << "cannot open " << testing::PrintToString(name + L"\\" + subName)
                          << ": error " << status;
            continue;
        }
        ReadTree(subKey, name + L"\\" + subName, view, dump);
        RegCloseKey(subKey);
    }
}

}  // namespace

std::wstring In32BitView(const std::wstring& key) {
    const std::wstring software = kMachineSoftware;
    // Always 64-bit Windows for a 64-bit build, which is what it asks.
    // cppcheck-suppress knownConditionTrueFalse
    if (!OnWindows64() || !StartsWith(key, software)) {
        return key;
    }
    return key.substr(0, software.size()) + L"Wow6432Node\\" + key.substr(software.size());
}

std::wstring Lowered(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return text;
}

RegDump ExportKeys(const std::vector<std::wstring>& wanted) {
    // On 64-bit Windows every key is read in the native view, where the
    // 32-bit view's keys lie below Software\Wow6432Node.
    const REGSAM view = OnWindows64() ? KEY_WOW64_64KEY : 0;
    RegDump dump;
    for (const std::wstring& key : wanted) {
        // A key comes with the export of any key above it.
        const bool covered = std::any_of(wanted.begin(), wanted.end(), [&key](const auto& other) {
            return StartsWith(key, other + L"\\");
        });
        if (covered || dump.count(Lowered(key)) != 0) {
            continue;
        }
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
            ADD_FAILURE() << "no root key in " << testing::PrintToString(key);
            continue;
        }
        HKEY opened = nullptr;
        const LSTATUS status = RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &opened);
        if (status == ERROR_FILE_NOT_FOUND) {
            continue;  // a missing key: no section
        }
        if (status != ERROR_SUCCESS) {
            ADD_FAILURE() << "cannot open " << testing::PrintToString(key) << ": error " << status;
            continue;
        }
        ReadTree(opened, key, view, dump);
        RegCloseKey(opened);
    }
    return dump;
}

}  // namespace lumora::test
