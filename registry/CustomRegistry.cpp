#include "registry/CustomRegistry.h"

#include <cstring>

#include "common/WideText.h"

namespace lumora {

namespace reg {

std::uint32_t AccessFor(std::uint32_t baseRights, bool use64BitView) {
    if (use64BitView) {
        return baseRights | kKeyWow64_64Key;
    }
#if defined(_WIN64)
    return baseRights | kKeyWow64_32Key;
#else
    return baseRights;
#endif
}

std::wstring SubKeyOf(const std::wstring& path) {
    if (!path.empty() && path.front() == L'\\') {
        return path.substr(1);
    }
    return path;
}

}  // namespace reg

namespace {

// One open key for the length of one call; closed on every way out.
class OpenedKey {
  public:
    OpenedKey(RootKey root, const std::wstring& path, std::uint32_t baseRights, bool create,
              bool use64BitView) {
        RegistryBackend& registry = ActiveRegistry();
        const std::uint32_t access = reg::AccessFor(baseRights, use64BitView);
        const std::wstring subKey = reg::SubKeyOf(path);
        RegKeyHandle handle = 0;
        const long rc = create ? registry.CreateKey(root, subKey, access, handle)
                               : registry.OpenKey(root, subKey, access, handle);
        if (rc == reg::kSuccess) {
            registry_ = &registry;
            handle_ = handle;
        }
    }
    ~OpenedKey() {
        if (registry_ != nullptr) {
            registry_->CloseKey(handle_);
        }
    }
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;

    bool IsOpen() const { return registry_ != nullptr; }
    RegistryBackend& Registry() const { return *registry_; }
    RegKeyHandle Handle() const { return handle_; }

  private:
    RegistryBackend* registry_ = nullptr;
    RegKeyHandle handle_ = 0;
};

// The stored 32-bit integer, when the value is a REG_DWORD of exactly 4 bytes.
bool ReadDword(RootKey root, const std::wstring& path, const std::wstring& name, bool use64BitView,
               std::int32_t& result) {
    OpenedKey key(root, path, reg::kKeyRead, false, use64BitView);
    if (!key.IsOpen()) {
        return false;
    }
    std::uint8_t buffer[4] = {};
    std::uint32_t type = 0;
    std::uint32_t size = sizeof(buffer);
    if (key.Registry().QueryValue(key.Handle(), name, &type, buffer, &size) != reg::kSuccess ||
        type != reg::kDword || size != sizeof(buffer)) {
        return false;
    }
    const std::uint32_t value = static_cast<std::uint32_t>(buffer[0]) |
                                (static_cast<std::uint32_t>(buffer[1]) << 8) |
                                (static_cast<std::uint32_t>(buffer[2]) << 16) |
                                (static_cast<std::uint32_t>(buffer[3]) << 24);
    std::memcpy(&result, &value, sizeof(result));
    return true;
}

void WriteValue(RootKey root, const std::wstring& path, const std::wstring& name,
                std::uint32_t type, const std::vector<std::uint8_t>& data, bool use64BitView) {
    OpenedKey key(root, path, reg::kKeyWrite, true, use64BitView);
    if (key.IsOpen()) {
        key.Registry().SetValue(key.Handle(), name, type, data.empty() ? nullptr : data.data(),
                                static_cast<std::uint32_t>(data.size()));
    }
}

std::vector<std::uint8_t> DwordBytes(std::int32_t value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    return {static_cast<std::uint8_t>(bits & 0xFF), static_cast<std::uint8_t>((bits >> 8) & 0xFF),
            static_cast<std::uint8_t>((bits >> 16) & 0xFF),
            static_cast<std::uint8_t>((bits >> 24) & 0xFF)};
}

}  // namespace

std::wstring ReadRegString(RootKey root, const std::wstring& path, const std::wstring& name,
                           const std::wstring& defaultValue, bool use64BitView) {
    try {
        OpenedKey key(root, path, reg::kKeyRead, false, use64BitView);
        if (!key.IsOpen()) {
            return defaultValue;
        }
        std::uint32_t type = 0;
        std::uint32_t size = 0;
        if (key.Registry().QueryValue(key.Handle(), name, &type, nullptr, &size) != reg::kSuccess ||
            size == 0) {
            return defaultValue;
        }
        // The data need not end in a 0 character, nor hold an even number of
        // bytes: read into a buffer with room for a terminator of our own and
        // never look past the size the registry reports.
        std::vector<std::uint8_t> buffer(static_cast<std::size_t>(size) + 2, 0);
        std::uint32_t got = size;
        if (key.Registry().QueryValue(key.Handle(), name, &type, buffer.data(), &got) !=
                reg::kSuccess ||
            (type != reg::kSz && type != reg::kExpandSz) || got > size) {
            return defaultValue;
        }
        std::u16string units = BytesToUtf16(buffer.data(), got);
        const std::size_t end = units.find(u'\0');
        if (end != std::u16string::npos) {
            units.resize(end);
        }
        if (units.empty()) {
            return defaultValue;
        }
        return Utf16ToWide(units);
    } catch (...) {
        return defaultValue;
    }
}

std::int32_t ReadRegInteger(RootKey root, const std::wstring& path, const std::wstring& name,
                            std::int32_t defaultValue, bool use64BitView) {
    try {
        std::int32_t value = 0;
        return ReadDword(root, path, name, use64BitView, value) ? value : defaultValue;
    } catch (...) {
        return defaultValue;
    }
}

bool ReadRegBool(RootKey root, const std::wstring& path, const std::wstring& name,
                 bool defaultValue, bool use64BitView) {
    try {
        std::int32_t value = 0;
        return ReadDword(root, path, name, use64BitView, value) ? value != 0 : defaultValue;
    } catch (...) {
        return defaultValue;
    }
}

void WriteRegString(RootKey root, const std::wstring& path, const std::wstring& name,
                    const std::wstring& value, bool use64BitView) {
    try {
        std::u16string units = WideToUtf16(value);
        units.push_back(u'\0');
        WriteValue(root, path, name, reg::kSz, Utf16ToBytes(units), use64BitView);
    } catch (...) {
    }
}

void WriteRegInteger(RootKey root, const std::wstring& path, const std::wstring& name,
                     std::int32_t value, bool use64BitView) {
    try {
        WriteValue(root, path, name, reg::kDword, DwordBytes(value), use64BitView);
    } catch (...) {
    }
}

void WriteRegBinary(RootKey root, const std::wstring& path, const std::wstring& name,
                    const std::vector<std::uint8_t>& value, bool use64BitView) {
    try {
        WriteValue(root, path, name, reg::kBinary, value, use64BitView);
    } catch (...) {
    }
}

void WriteRegBool(RootKey root, const std::wstring& path, const std::wstring& name, bool value,
                  bool use64BitView) {
    try {
        WriteValue(root, path, name, reg::kDword, DwordBytes(value ? 1 : 0), use64BitView);
    } catch (...) {
    }
}

void DeleteRegValue(RootKey root, const std::wstring& path, const std::wstring& name,
                    bool use64BitView) {
    try {
        OpenedKey key(root, path, reg::kKeyAllAccess, false, use64BitView);
        if (key.IsOpen()) {
            key.Registry().DeleteValue(key.Handle(), name);
        }
    } catch (...) {
    }
}

}  // namespace lumora
