// The program's own registry key: all of its persisted state. The backup
// copies of the tuned values live here too, under the tuned values' own names;
// the tweak catalogue lists them.
#pragma once

#include <cstdint>

#include "registry/RegistryBackend.h"

namespace lumora::program_key {

inline constexpr RootKey kRoot = RootKey::LocalMachine;
inline constexpr const wchar_t* kPath = L"\\Software\\OSTREL\\Lumora\\";

// Date stamp of the first start; written only while missing or empty.
inline constexpr const wchar_t* kInstalledDate = L"InstalledDate";
// Set from outside (installer, updater) when a new version was installed;
// the program consumes it at start-up and never writes true itself.
inline constexpr const wchar_t* kUpdated = L"Updated";
// Date stamp of the first start after the last update.
inline constexpr const wchar_t* kUpdatedDate = L"UpdatedDate";
// The last choices an optimize run was started with.
inline constexpr const wchar_t* kInternetType = L"InternetType";
inline constexpr const wchar_t* kProcessorType = L"ProcessorType";
inline constexpr const wchar_t* kSpeedSetting = L"SpeedSetting";
// True while backup copies of the tuned values are stored in this key.
inline constexpr const wchar_t* kRestore = L"Restore";
// Name of the caption table; never written by the program.
inline constexpr const wchar_t* kLanguage = L"Language";

inline constexpr std::int32_t kDefaultInternetType = 0;
inline constexpr std::int32_t kDefaultProcessorType = -1;  // not chosen yet: detect
inline constexpr std::int32_t kDefaultSpeedSetting = 0;
inline constexpr const wchar_t* kDefaultLanguage = L"english";

}  // namespace lumora::program_key
