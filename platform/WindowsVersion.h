// The Windows edition the program runs on, as an OS index:
//   0 Windows 2000, 1 XP, 2 Server 2003, 3 Vista, 4 Server 2008 (and 2008 R2),
//   5 Windows 7, 6 Windows 8 and 8.1, 7 Server 2012 (and 2012 R2),
//   8 Windows 10 (every edition), -1 not recognised.
#pragma once

#include <cstdint>

namespace lumora {

// Product types as the version query reports them; 0 when the query did not
// fill the field (the plain record has none).
constexpr std::uint8_t kProductTypeNone = 0;
constexpr std::uint8_t kProductWorkstation = 1;
constexpr std::uint8_t kProductDomainController = 2;
constexpr std::uint8_t kProductServer = 3;

// The OS index of a reported version: by major, then minor version, then
// product type (exactly 1 is a workstation, 2 or more a server).
int OsIndexFor(std::uint32_t major, std::uint32_t minor, std::uint8_t productType);

// The OS index of the running system. Never raises; -1 when the system cannot
// be told.
int GetWindowsVersion();

// Whether the running system is a 64-bit Windows. The 32-bit program asks
// IsWow64Process, looked up at run time: Windows 2000 has neither the
// function nor a 64-bit edition. A 64-bit build is on one by definition.
// Never raises; false when the system cannot tell.
bool IsWindows64Bit();

}  // namespace lumora
