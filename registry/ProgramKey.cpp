#include "registry/ProgramKey.h"

#include "registry/CustomRegistry.h"

namespace lumora::program_key {

namespace {

// The program key is always the one of the 32-bit registry view.
constexpr bool kUse64BitView = false;

std::wstring ReadText(const std::wstring& name, const std::wstring& fallback) {
    return ReadRegString(kRoot, kPath, name, fallback, kUse64BitView);
}
std::int32_t ReadNumber(const std::wstring& name, std::int32_t fallback) {
    return ReadRegInteger(kRoot, kPath, name, fallback, kUse64BitView);
}
void WriteText(const std::wstring& name, const std::wstring& text) {
    WriteRegString(kRoot, kPath, name, text, kUse64BitView);
}
void WriteNumber(const std::wstring& name, std::int32_t number) {
    WriteRegInteger(kRoot, kPath, name, number, kUse64BitView);
}
void Delete(const std::wstring& name) {
    DeleteRegValue(kRoot, kPath, name, kUse64BitView);
}

}  // namespace

StoredChoices ReadChoices() {
    StoredChoices choices;
    choices.connectionType = ReadNumber(kInternetType, kDefaultInternetType);
    choices.processorType = ReadNumber(kProcessorType, kDefaultProcessorType);
    choices.speedSetting = ReadNumber(kSpeedSetting, kDefaultSpeedSetting);
    return choices;
}

void WriteChoices(const StoredChoices& choices) {
    WriteNumber(kInternetType, choices.connectionType);
    WriteNumber(kProcessorType, choices.processorType);
    WriteNumber(kSpeedSetting, choices.speedSetting);
}

bool ReadRestoreFlag() {
    return ReadRegBool(kRoot, kPath, kRestore, false, kUse64BitView);
}

void SetRestoreFlag() {
    WriteRegBool(kRoot, kPath, kRestore, true, kUse64BitView);
}

void DeleteRestoreFlag() {
    Delete(kRestore);
}

std::wstring ReadInstalledDate() {
    return ReadText(kInstalledDate, L"");
}

void WriteInstalledDate(const std::wstring& stamp) {
    WriteText(kInstalledDate, stamp);
}

std::wstring ReadUpdatedDate() {
    return ReadText(kUpdatedDate, L"");
}

void WriteUpdatedDate(const std::wstring& stamp) {
    WriteText(kUpdatedDate, stamp);
}

bool ReadUpdatedMark() {
    return ReadRegBool(kRoot, kPath, kUpdated, false, kUse64BitView);
}

void ClearUpdatedMark() {
    WriteRegBool(kRoot, kPath, kUpdated, false, kUse64BitView);
}

std::wstring ReadLanguage() {
    return ReadText(kLanguage, kDefaultLanguage);
}

std::wstring ReadTextCopy(const std::wstring& name, const std::wstring& fallback) {
    return ReadText(name, fallback);
}

std::int32_t ReadNumberCopy(const std::wstring& name, std::int32_t fallback) {
    return ReadNumber(name, fallback);
}

void WriteTextCopy(const std::wstring& name, const std::wstring& text) {
    WriteText(name, text);
}

void WriteNumberCopy(const std::wstring& name, std::int32_t number) {
    WriteNumber(name, number);
}

void DeleteCopy(const std::wstring& name) {
    Delete(name);
}

}  // namespace lumora::program_key
