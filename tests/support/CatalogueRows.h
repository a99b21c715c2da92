// The values the tweak catalogue writes, as an optimize run leaves them,
// written out by hand once for every test that checks the registry after a
// run; never taken from the catalogue itself.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "registry/RegistryBackend.h"

namespace lumora::test {

// When a run writes a value and what a restore does with it.
enum class RowGroup {
    Kept,            // its previous contents are copied first and written back by a restore
    Plain,           // written by every optimize run, deleted by every restore
    PathMtu,         // EnablePMTUDiscovery: written by every run, its data by connection
    FastConnection,  // only for a fast connection (not Dial-up 56k, not ISDN)
    NotWindows2000,  // for every edition but Windows (Server) 2000
    Server,          // for the server editions
    Workstation,     // for the workstation editions
};

// Registry data: a string, a DWORD or bytes.
struct RowData {
    std::uint32_t type = reg::kDword;
    std::wstring text;
    std::uint32_t number = 0;
    std::vector<std::uint8_t> bytes;
};

struct CatalogueRow {
    RootKey root;
    const wchar_t* path;  // below the root, with a leading backslash
    const wchar_t* name;
    RowGroup group;
    // The data a run leaves for a fast connection and the speed setting
    // Boost: see OptimizedData for the rows that depend on the choices.
    RowData optimized;
    // Kept rows: the data the copy stands for when the value can't be read.
    std::optional<RowData> copyDefault;
};

// Every value, each once. The Tcpip parameters' KeepAliveTime and
// EnablePMTUDiscovery are written twice in a run; these are the data that
// stand.
const std::vector<CatalogueRow>& CatalogueRows();

// The rows of one group, in the order of CatalogueRows.
std::vector<CatalogueRow> RowsOf(RowGroup group);

// The data an optimize run leaves in |row| for a fast or slow connection and
// the speed setting: Maximum Boost (1, and any above) doubles the connections
// per server of Boost (0, and any below).
RowData OptimizedData(const CatalogueRow& row, bool fastConnection, std::int32_t speed);

// How 64-bit Windows lays out a row's key for the 32-bit program, which
// reaches the 32-bit view when it asks for no other.
enum class RowView {
    OneKey,      // HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE\System: one key for both views
    Shared,      // below HKEY_LOCAL_MACHINE\Software, one of the keys both views share
    Redirected,  // below HKEY_LOCAL_MACHINE\Software, a key of its own in each view: the
                 // 32-bit view's is below Software\Wow6432Node
};
RowView ViewOf(const CatalogueRow& row);

// The path as reg.exe names the key: "HKEY_CURRENT_USER\...".
std::wstring RegExportKey(RootKey root, const wchar_t* path);
// The data as reg.exe exports it: "text", dword:0000002a or hex:00,01.
std::wstring RegExportData(const RowData& data);

}  // namespace lumora::test
