// The registry access layer: every registry access of the program goes
// through these eight calls. Each one opens its key, does one read, write or
// delete, and closes the key again. None reports a failure: a read that
// cannot deliver a value of its kind yields the default, and a failed write
// or delete leaves the registry as it was.
//
// Key paths are written with a leading backslash ("\Software\OSTREL\Lumora\");
// it is removed and the rest, a trailing backslash included, names the key
// below the root. The last argument asks for the 64-bit registry view; false
// means the 32-bit view on 64-bit Windows whichever way the executable itself
// was built. Only the runs pass true, for the tuned values that 64-bit Windows
// keeps in its own view (TweakView), and never on 32-bit Windows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "registry/RegistryBackend.h"

namespace lumora {

std::wstring ReadRegString(RootKey root, const std::wstring& path, const std::wstring& name,
                           const std::wstring& defaultValue, bool use64BitView);
std::int32_t ReadRegInteger(RootKey root, const std::wstring& path, const std::wstring& name,
                            std::int32_t defaultValue, bool use64BitView);
bool ReadRegBool(RootKey root, const std::wstring& path, const std::wstring& name,
                 bool defaultValue, bool use64BitView);

void WriteRegString(RootKey root, const std::wstring& path, const std::wstring& name,
                    const std::wstring& value, bool use64BitView);
void WriteRegInteger(RootKey root, const std::wstring& path, const std::wstring& name,
                     std::int32_t value, bool use64BitView);
void WriteRegBinary(RootKey root, const std::wstring& path, const std::wstring& name,
                    const std::vector<std::uint8_t>& value, bool use64BitView);
void WriteRegBool(RootKey root, const std::wstring& path, const std::wstring& name, bool value,
                  bool use64BitView);

void DeleteRegValue(RootKey root, const std::wstring& path, const std::wstring& name,
                    bool use64BitView);

namespace reg {
// The access rights a call asks for: the base rights with the view flag.
// A 64-bit build adds KEY_WOW64_32KEY when the 64-bit view is not asked for,
// so that it reaches the same keys as the 32-bit program.
std::uint32_t AccessFor(std::uint32_t baseRights, bool use64BitView);
// The subkey handed to the platform: the path without its leading backslash.
std::wstring SubKeyOf(const std::wstring& path);
}  // namespace reg

}  // namespace lumora
