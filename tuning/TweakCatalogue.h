// The tweak catalogue: the fixed, ordered list of Windows registry values the
// program tunes, with what an optimize run writes to each and under which
// condition, and which of them keep a copy of their previous value in the
// program key. Pure data; the plans in TweakPlan.h walk it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "registry/RegistryBackend.h"

namespace lumora {

struct TweakKey {
    RootKey root;
    const wchar_t* path;  // with its leading backslash, passed as it stands
};

// The width of the Windows a run works on; the program itself is 32-bit.
enum class WindowsWidth { Bits32, Bits64 };

// The registry view in which the runs write, read and delete the values of
// |key| on a Windows of |width|. Below HKEY_LOCAL_MACHINE\Software, 64-bit
// Windows gives a 32-bit program the 32-bit view (Software\Wow6432Node, but
// for the few keys the two views share), where the 64-bit system never
// looks: there the runs use the native view. Every other key, and every key
// on 32-bit Windows (Windows 2000 among them, which knows no views), is
// reached in the program's own view, as the program key is.
RegistryView TweakView(const TweakKey& key, WindowsWidth width);

enum class TweakType { String, Dword, Binary };

// What an optimize run writes to a row.
struct TweakValue {
    TweakType type;
    const wchar_t* text;        // String
    std::int32_t boost;         // Dword, with the speed setting "Boost"
    std::int32_t maximumBoost;  // Dword, with the speed setting "Maximum Boost"
    std::size_t zeroBytes;      // Binary: this many bytes, all 0
};

enum class TweakCondition {
    Always,
    NotWindows2000,  // any OS index but 0, -1 included
    FastConnection,  // a connection type listed as fast (ConnectionTypes.h)
    ServerEdition,
    WorkstationEdition,
};

// A row whose previous value is copied to the program key, under the row's
// own value name, by the first optimize run. The default stands for a value
// that can't be read, when the copy is taken and when it is read back.
struct TweakBackup {
    bool kept;
    const wchar_t* text;  // String rows
    std::int32_t number;  // Dword rows
};

// Rows with a backup get their copy written back by a restore run; all other
// rows are deleted by it.
struct TweakRow {
    TweakKey key;
    const wchar_t* name;
    TweakValue value;
    TweakCondition condition;
    TweakBackup backup;
};

inline constexpr std::size_t kTweakRowCount = 47;
using TweakCatalogue = std::array<TweakRow, kTweakRowCount>;

// The catalogue in the order an optimize run writes it; row n (counted from
// 1) is at n - 1.
const TweakCatalogue& Tweaks();

// The speed setting is the track bar position: 0 or less is "Boost".
bool IsMaximumBoost(std::int32_t speedSetting);
bool ConditionHolds(TweakCondition condition, std::int32_t osIndex, std::int32_t connectionType);

}  // namespace lumora
