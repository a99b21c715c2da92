// The Windows editions the main window offers, in the order of its list, and
// the OS index each entry stands for. The order is stored data: the tweak
// conditions are stated on the OS index, and the main window preselects the
// running edition through the same table, so both directions go through it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumora {

// OS indexes, as Windows version detection names the editions.
namespace os_index {
inline constexpr std::int32_t kUnknown = -1;
inline constexpr std::int32_t kWindows2000 = 0;
inline constexpr std::int32_t kWindowsXP = 1;
inline constexpr std::int32_t kWindowsServer2003 = 2;
inline constexpr std::int32_t kWindowsVista = 3;
inline constexpr std::int32_t kWindowsServer2008 = 4;
inline constexpr std::int32_t kWindows7 = 5;
inline constexpr std::int32_t kWindows8 = 6;  // 8 and 8.1
inline constexpr std::int32_t kWindowsServer2012 = 7;
inline constexpr std::int32_t kWindows10 = 8;
}  // namespace os_index

enum class EditionKind { Workstation, Server };

struct WindowsEdition {
    const wchar_t* text;  // the list entry, with its two leading blanks
    std::int32_t osIndex;
    EditionKind kind;  // also the entry's image
};

// The list; an entry's position is its item index.
inline constexpr WindowsEdition kWindowsEditions[] = {
    {L"  Microsoft \u00AE Windows 10", os_index::kWindows10, EditionKind::Workstation},
    {L"  Microsoft \u00AE Windows 8", os_index::kWindows8, EditionKind::Workstation},
    {L"  Microsoft \u00AE Windows 7", os_index::kWindows7, EditionKind::Workstation},
    {L"  Microsoft \u00AE Windows Vista", os_index::kWindowsVista, EditionKind::Workstation},
    {L"  Microsoft \u00AE Windows XP", os_index::kWindowsXP, EditionKind::Workstation},
    {L"  Microsoft \u00AE Windows Server 2012", os_index::kWindowsServer2012, EditionKind::Server},
    {L"  Microsoft \u00AE Windows Server 2008", os_index::kWindowsServer2008, EditionKind::Server},
    {L"  Microsoft \u00AE Windows Server 2003", os_index::kWindowsServer2003, EditionKind::Server},
    // Windows 2000 in all its editions.
    {L"  Microsoft \u00AE Windows Server 2000", os_index::kWindows2000, EditionKind::Server},
};
inline constexpr std::size_t kWindowsEditionCount =
    sizeof(kWindowsEditions) / sizeof(kWindowsEditions[0]);

// The OS index of a list item; -1 for any other item, "none selected" (-1)
// included.
std::int32_t ConvertWindowsVersion(std::int32_t item);

// The list item to preselect for a detected OS index: the entry of that
// edition, or the first entry (Windows 10) when the edition is not known.
std::int32_t WindowsItemForOsIndex(std::int32_t osIndex);

// Server editions are those listed as servers (Windows 2000 among them),
// workstation editions the others in the list; an OS index the list does not
// hold is neither.
bool IsServerEdition(std::int32_t osIndex);
bool IsWorkstationEdition(std::int32_t osIndex);

}  // namespace lumora
