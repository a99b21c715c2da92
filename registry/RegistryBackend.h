// The few registry primitives the access layer is built on, shaped after
// advapi32 (open, create, query, set, delete, close) so that the layer's logic
// is the same whether it runs over Windows' registry or the in-memory one.
#pragma once

#include <cstdint>
#include <string>

namespace lumora {

enum class RootKey : std::uint32_t {
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
};

// The two registry views of 64-bit Windows: the one the program is given
// when it asks for no other (below HKEY_LOCAL_MACHINE\Software the 32-bit
// view, Software\Wow6432Node, but for the few keys the two views share), and
// the native 64-bit view, which the access layer's 64-bit-view flag asks for
// (KEY_WOW64_64KEY). A 32-bit Windows has one view.
enum class RegistryView { Program, Native };

namespace reg {
// Access rights.
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyWrite = 0x20006;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;
inline constexpr std::uint32_t kKeyWow64_64Key = 0x100;
inline constexpr std::uint32_t kKeyWow64_32Key = 0x200;

// Value types.
inline constexpr std::uint32_t kSz = 1;
inline constexpr std::uint32_t kExpandSz = 2;
inline constexpr std::uint32_t kBinary = 3;
inline constexpr std::uint32_t kDword = 4;
inline constexpr std::uint32_t kMultiSz = 7;

// Result codes (Win32 error numbers).
inline constexpr long kSuccess = 0;
inline constexpr long kFileNotFound = 2;
inline constexpr long kAccessDenied = 5;
inline constexpr long kInvalidHandle = 6;
inline constexpr long kInvalidParameter = 87;
inline constexpr long kBadPathname = 161;
inline constexpr long kMoreData = 234;
}  // namespace reg

using RegKeyHandle = std::uintptr_t;

class RegistryBackend {
  public:
    virtual ~RegistryBackend() = default;
    // Opens an existing key (RegOpenKeyExW).
    virtual long OpenKey(RootKey root, const std::wstring& subKey, std::uint32_t access,
                         RegKeyHandle& key) = 0;
    // Opens a key, creating it and any missing parents (RegCreateKeyExW).
    virtual long CreateKey(RootKey root, const std::wstring& subKey, std::uint32_t access,
                           RegKeyHandle& key) = 0;
    // RegQueryValueExW: with data null only the type and size are returned; a
    // buffer smaller than the data gives kMoreData and the needed size.
    virtual long QueryValue(RegKeyHandle key, const std::wstring& name, std::uint32_t* type,
                            std::uint8_t* data, std::uint32_t* size) = 0;
    virtual long SetValue(RegKeyHandle key, const std::wstring& name, std::uint32_t type,
                          const std::uint8_t* data, std::uint32_t size) = 0;
    virtual long DeleteValue(RegKeyHandle key, const std::wstring& name) = 0;
    virtual long CloseKey(RegKeyHandle key) = 0;
};

// The registry every operation of the access layer uses: Windows' own on
// Windows, a process-wide in-memory registry in the native build. Tests may
// put another in its place for their duration.
RegistryBackend& ActiveRegistry();
void SetActiveRegistry(RegistryBackend* backend);  // null restores the default

class ScopedRegistry {
  public:
    explicit ScopedRegistry(RegistryBackend& backend) { SetActiveRegistry(&backend); }
    ~ScopedRegistry() { SetActiveRegistry(nullptr); }
    ScopedRegistry(const ScopedRegistry&) = delete;
    ScopedRegistry& operator=(const ScopedRegistry&) = delete;
};

}  // namespace lumora
