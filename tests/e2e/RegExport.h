// The registry as a run left it, read past the program's registry layer and
// past the test's registry helpers: advapi32 called here alone, every value
// written as a .reg file writes it. It is read in the test's own process: a
// check that started a reg.exe for each key made some twenty process starts,
// and under Wine one process start in some thousands fails (ERROR_INTERNAL_ERROR).
#pragma once

#include <map>
#include <string>
#include <vector>

namespace lumora::test {

// Value name -> data as the .reg file writes it: "\"text\"" for REG_SZ,
// "dword:0000002a" for REG_DWORD, "hex:00,01" for REG_BINARY.
using RegKeyValues = std::map<std::wstring, std::wstring>;
// Key name as a .reg file's section names it, lowered (the registry ignores
// case) -> its values.
using RegDump = std::map<std::wstring, RegKeyValues>;

// Where ExportKeys finds the 32-bit view of |key|
// ("HKEY_LOCAL_MACHINE\\Software\\..."): on 64-bit Windows below
// Software\Wow6432Node; elsewhere, with one view, the key itself.
std::wstring In32BitView(const std::wstring& key);

// Reads each key ("HKEY_CURRENT_USER\\Control Panel\\Desktop", ...) with its
// subkeys. On 64-bit Windows every key is read in the native view, where the
// 32-bit view's keys lie below Software\Wow6432Node (In32BitView); a key the
// two views share is found at both names. A missing key gives no section; a
// key or value that cannot be read is a test failure of its own, never values
// read as absent.
RegDump ExportKeys(const std::vector<std::wstring>& wanted);

std::wstring Lowered(std::wstring text);

}  // namespace lumora::test
