// The access layer's primitives over advapi32.
#include <windows.h>

#include "registry/RegistryBackend.h"

namespace lumora {

// The access layer's numbers (RegistryBackend.h) are Windows' own.
static_assert(reg::kKeyRead == KEY_READ && reg::kKeyWrite == KEY_WRITE &&
                  reg::kKeyAllAccess == KEY_ALL_ACCESS,
              "access rights");
static_assert(reg::kKeyWow64_64Key == KEY_WOW64_64KEY && reg::kKeyWow64_32Key == KEY_WOW64_32KEY,
              "registry view flags");
static_assert(reg::kSz == REG_SZ && reg::kExpandSz == REG_EXPAND_SZ && reg::kBinary == REG_BINARY &&
                  reg::kDword == REG_DWORD && reg::kMultiSz == REG_MULTI_SZ,
              "value types");
static_assert(reg::kSuccess == ERROR_SUCCESS && reg::kFileNotFound == ERROR_FILE_NOT_FOUND &&
                  reg::kAccessDenied == ERROR_ACCESS_DENIED &&
                  reg::kInvalidHandle == ERROR_INVALID_HANDLE &&
                  reg::kInvalidParameter == ERROR_INVALID_PARAMETER &&
                  reg::kBadPathname == ERROR_BAD_PATHNAME && reg::kMoreData == ERROR_MORE_DATA,
              "result codes");

namespace {

HKEY RootHandle(RootKey root) {
    return root == RootKey::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

HKEY AsHkey(RegKeyHandle key) {
    return reinterpret_cast<HKEY>(key);
}

class Win32Registry : public RegistryBackend {
  public:
    long OpenKey(RootKey root, const std::wstring& subKey, std::uint32_t access,
                 RegKeyHandle& key) override {
        HKEY opened = nullptr;
        const LONG rc = RegOpenKeyExW(RootHandle(root), subKey.c_str(), 0, access, &opened);
        key = reinterpret_cast<RegKeyHandle>(opened);
        return rc;
    }
    long CreateKey(RootKey root, const std::wstring& subKey, std::uint32_t access,
                   RegKeyHandle& key) override {
        HKEY created = nullptr;
        const LONG rc =
            RegCreateKeyExW(RootHandle(root), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            access, nullptr, &created, nullptr);
        key = reinterpret_cast<RegKeyHandle>(created);
        return rc;
    }
    long QueryValue(RegKeyHandle key, const std::wstring& name, std::uint32_t* type,
                    std::uint8_t* data, std::uint32_t* size) override {
        DWORD valueType = 0;
        DWORD valueSize = size != nullptr ? *size : 0;
        const LONG rc = RegQueryValueExW(AsHkey(key), name.c_str(), nullptr, &valueType, data,
                                         size != nullptr ? &valueSize : nullptr);
        if (type != nullptr) {
            *type = valueType;
        }
        if (size != nullptr) {
            *size = valueSize;
        }
        return rc;
    }
    long SetValue(RegKeyHandle key, const std::wstring& name, std::uint32_t type,
                  const std::uint8_t* data, std::uint32_t size) override {
        return RegSetValueExW(AsHkey(key), name.c_str(), 0, type, data, size);
    }
    long DeleteValue(RegKeyHandle key, const std::wstring& name) override {
        return RegDeleteValueW(AsHkey(key), name.c_str());
    }
    long CloseKey(RegKeyHandle key) override { return RegCloseKey(AsHkey(key)); }
};

}  // namespace

RegistryBackend& DefaultRegistry() {
    static Win32Registry registry;
    return registry;
}

}  // namespace lumora
