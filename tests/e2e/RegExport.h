// The registry as Wine's own reg.exe exports it: what a run left behind, read
// past the program's registry layer and past the test's own registry calls.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace lumora::test {

// Value name -> data as the .reg file writes it: "\"text\"" for REG_SZ,
// "dword:0000002a" for REG_DWORD, "hex:00,01" for REG_BINARY.
using RegKeyValues = std::map<std::wstring, std::wstring>;
// Key name as the file's section names it, lowered (the registry ignores
// case) -> its values.
using RegDump = std::map<std::wstring, RegKeyValues>;

// Exports each key ("HKEY_CURRENT_USER\\Control Panel\\Desktop", ...) with
// its subkeys by "reg.exe export", all at once, and reads the files back.
// Keys below HKEY_LOCAL_MACHINE\Software are exported from the 32-bit view
// (/reg:32), where a 32-bit program's writes land. A missing key gives no
// section; an export that fails where the key exists (reg.exe did not start,
// did not end, failed, or wrote no section) is a test failure of its own,
// never values read as absent.
RegDump ExportKeys(const std::vector<std::wstring>& wanted);

// The sections and values of a .reg file's text.
RegDump ParseRegFile(const std::wstring& text);

std::wstring Lowered(std::wstring text);

}  // namespace lumora::test
