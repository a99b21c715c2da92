// The program's own registry key: all of its persisted state. The backup
// copies of the tuned values live here too, under the tuned values' own names;
// the tweak catalogue lists them.
//
// Every access to the key goes through the typed reads and writes below, each
// one call of the registry access layer with the 32-bit view.
#pragma once

#include <cstdint>
#include <string>

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

// The choices of the last optimize run: the connection type (stored as
// InternetType), the processor make and the speed setting, as item indexes.
struct StoredChoices {
    std::int32_t connectionType = kDefaultInternetType;
    std::int32_t processorType = kDefaultProcessorType;
    std::int32_t speedSetting = kDefaultSpeedSetting;
};
StoredChoices ReadChoices();
// Writes InternetType, ProcessorType and SpeedSetting, in this order.
void WriteChoices(const StoredChoices& choices);

bool ReadRestoreFlag();
void SetRestoreFlag();
void DeleteRestoreFlag();

// The date stamps as stored; "" when missing.
std::wstring ReadInstalledDate();
void WriteInstalledDate(const std::wstring& stamp);
std::wstring ReadUpdatedDate();
void WriteUpdatedDate(const std::wstring& stamp);

// The "Updated" mark: read, and consumed by writing false.
bool ReadUpdatedMark();
void ClearUpdatedMark();

// The caption table's name; "english" when missing.
std::wstring ReadLanguage();

// A backup copy of a tuned value, under the value's own name, read with the
// default a copy that can't be read stands for.
std::wstring ReadTextCopy(const std::wstring& name, const std::wstring& fallback);
std::int32_t ReadNumberCopy(const std::wstring& name, std::int32_t fallback);
void WriteTextCopy(const std::wstring& name, const std::wstring& text);
void WriteNumberCopy(const std::wstring& name, std::int32_t number);
void DeleteCopy(const std::wstring& name);

}  // namespace lumora::program_key
