#include <windows.h>

#include "registry/CustomRegistry.h"
#include "tests/support/RawRegistry.h"

namespace lumora::test {

namespace {

HKEY RootHandle(RootKey root) {
    return root == RootKey::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

// The view the access layer uses when it is not asked for the 64-bit one.
REGSAM View() {
    return reg::AccessFor(0, false);
}

REGSAM View(RegistryView view) {
    return reg::AccessFor(0, view == RegistryView::Native);
}

}  // namespace

struct RawRegistry::State {};

RawRegistry::RawRegistry() : state_(nullptr) {}
RawRegistry::~RawRegistry() = default;

void RawRegistry::Put(RootKey root, const std::wstring& path, const std::wstring& name,
                      std::uint32_t type, const std::vector<std::uint8_t>& data,
                      RegistryView view) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(RootHandle(root), reg::SubKeyOf(path).c_str(), 0, nullptr, 0,
                        KEY_WRITE | View(view), nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExW(key, name.c_str(), 0, type, data.empty() ? nullptr : data.data(),
                       static_cast<DWORD>(data.size()));
        RegCloseKey(key);
    }
}

std::optional<RegValue> RawRegistry::Get(RootKey root, const std::wstring& path,
                                         const std::wstring& name, RegistryView view) const {
    HKEY key = nullptr;
    if (RegOpenKeyExW(RootHandle(root), reg::SubKeyOf(path).c_str(), 0, KEY_READ | View(view),
                      &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    DWORD type = 0;
    DWORD size = 0;
    std::optional<RegValue> result;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        RegValue value{name, type, std::vector<std::uint8_t>(size)};
        if (RegQueryValueExW(key, name.c_str(), nullptr, &type,
                             value.data.empty() ? nullptr : value.data.data(),
                             &size) == ERROR_SUCCESS) {
            value.data.resize(size);
            result = value;
        }
    }
    RegCloseKey(key);
    return result;
}

bool RawRegistry::KeyExists(RootKey root, const std::wstring& path) const {
    HKEY key = nullptr;
    if (RegOpenKeyExW(RootHandle(root), reg::SubKeyOf(path).c_str(), 0, KEY_READ | View(), &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

void RawRegistry::DeleteTree(RootKey root, const std::wstring& path) {
    std::wstring subKey = reg::SubKeyOf(path);
    while (!subKey.empty() && subKey.back() == L'\\') {
        subKey.pop_back();
    }
    HKEY key = nullptr;
    if (RegOpenKeyExW(RootHandle(root), subKey.c_str(), 0, KEY_ALL_ACCESS | View(), &key) ==
        ERROR_SUCCESS) {
        RegDeleteTreeW(key, nullptr);
        RegCloseKey(key);
        RegDeleteKeyExW(RootHandle(root), subKey.c_str(), View(), 0);
    }
}

// Wine does not enforce key security for its one user, so a refused write
// cannot be staged against its registry.
bool RawRegistry::DenyWrites(RootKey, const std::wstring&) {
    return false;
}

MemoryRegistry* RawRegistry::Memory() {
    return nullptr;
}

}  // namespace lumora::test
