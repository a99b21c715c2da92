#include "app/Startup.h"

#include "common/WideText.h"
#include "registry/ProgramKey.h"

namespace lumora {

StartMode ModeFromArgument(const std::wstring& firstArgument) {
    return AsciiLower(firstArgument) == kCheckUpdateSwitch ? StartMode::CheckUpdate
                                                           : StartMode::Interactive;
}

void RecordStartDates(const LocalDateTime& now) {
    namespace pk = program_key;
    if (pk::ReadInstalledDate().empty()) {
        pk::WriteInstalledDate(FormatDateStamp(DateStampFromTime(now)));
    }
    if (pk::ReadUpdatedMark()) {
        pk::ClearUpdatedMark();
        pk::WriteUpdatedDate(FormatDateStamp(DateStampFromTime(now)));
    }
}

}  // namespace lumora
