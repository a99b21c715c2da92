// Direct access to the registry under test, past the access layer: the
// in-memory registry in the native build, Windows' own (through advapi32,
// in the view the layer uses unless asked for the native one) under Wine.
// Tests set up values of any type and shape with it and check what the layer
// left behind.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "registry/MemoryRegistry.h"
#include "tests/support/Wine.h"

namespace lumora::test {

class RawRegistry {
  public:
    RawRegistry();
    ~RawRegistry();
    RawRegistry(const RawRegistry&) = delete;
    RawRegistry& operator=(const RawRegistry&) = delete;

    // In the program's own view, or in the native view of 64-bit Windows.
    void Put(RootKey root, const std::wstring& path, const std::wstring& name, std::uint32_t type,
             const std::vector<std::uint8_t>& data, RegistryView view = RegistryView::Program);
    std::optional<RegValue> Get(RootKey root, const std::wstring& path, const std::wstring& name,
                                RegistryView view = RegistryView::Program) const;
    bool KeyExists(RootKey root, const std::wstring& path) const;
    // Removes a key with everything below it.
    void DeleteTree(RootKey root, const std::wstring& path);
    // Refuses writes at the key; false where the registry cannot do that.
    bool DenyWrites(RootKey root, const std::wstring& path);
    // The in-memory registry in the native build, null on Windows.
    MemoryRegistry* Memory();

  private:
    struct State;
    State* state_;
};

// Little-endian UTF-16 bytes of a text, with or without a terminating 0.
std::vector<std::uint8_t> TextBytes(const std::wstring& text, bool terminated);
std::vector<std::uint8_t> DwordBytes(std::uint32_t value);

}  // namespace lumora::test
