#include "app/Startup.h"

#include "common/WideText.h"
#include "registry/CustomRegistry.h"
#include "registry/ProgramKey.h"

namespace lumora {

StartMode ModeFromArgument(const std::wstring& firstArgument) {
    return AsciiLower(firstArgument) == kCheckUpdateSwitch ? StartMode::CheckUpdate
                                                           : StartMode::Interactive;
}

void RecordStartDates(const LocalDateTime& now) {
    namespace pk = program_key;
    if (ReadRegString(pk::kRoot, pk::kPath, pk::kInstalledDate, L"", false).empty()) {
        WriteRegString(pk::kRoot, pk::kPath, pk::kInstalledDate,
                       FormatDateStamp(DateStampFromTime(now)), false);
    }
    if (ReadRegBool(pk::kRoot, pk::kPath, pk::kUpdated, false, false)) {
        WriteRegBool(pk::kRoot, pk::kPath, pk::kUpdated, false, false);
        WriteRegString(pk::kRoot, pk::kPath, pk::kUpdatedDate,
                       FormatDateStamp(DateStampFromTime(now)), false);
    }
}

}  // namespace lumora
