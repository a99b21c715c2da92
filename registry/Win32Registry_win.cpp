// The access layer's primitives over advapi32.
#include <windows.h>

#include "registry/RegistryBackend.h"

namespace lumora {

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
