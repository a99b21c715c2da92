#include "app/MainFormRules.h"

#include <cmath>

#include "common/WideText.h"
#include "registry/CustomRegistry.h"
#include "registry/ProgramKey.h"

namespace lumora {

std::int32_t DetectProcessorType(const std::wstring& processorName) {
    const std::wstring name = AsciiLower(processorName);
    if (name.find(L"intel") != std::wstring::npos) {
        return 0;
    }
    if (name.find(L"amd") != std::wstring::npos) {
        return 1;
    }
    if (name.find(L"via") != std::wstring::npos) {
        return 2;
    }
    return 0;
}

std::wstring ReadProcessorName() {
    return ReadRegString(RootKey::LocalMachine,
                         L"\\HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0\\",
                         L"ProcessorNameString", L"", false);
}

int ClampSpeedSetting(std::int32_t stored) {
    return stored < 0 ? 0 : stored > 1 ? 1 : stored;
}

bool UpdateCheckDue(std::optional<double> updatedDate, double now) {
    if (!updatedDate || !std::isfinite(*updatedDate)) {
        return false;
    }
    return std::trunc(std::fabs(now - *updatedDate)) > kUpdateCheckDays;
}

bool UpdateCheckDueAt(const LocalDateTime& now, const StoredDateReader& readBack) {
    const std::wstring stored = program_key::ReadUpdatedDate();
    if (stored.empty()) {
        return false;
    }
    return UpdateCheckDue(readBack(stored), DayCountFromDateTime(now));
}

ScreenPoint HelpMenuCorner(int windowLeft, int windowTop, int windowWidth, int windowHeight,
                           int clientWidth, int clientHeight, int buttonLeft, int buttonTop,
                           int buttonWidth, int buttonHeight) {
    return ScreenPoint{windowLeft + (windowWidth - clientWidth) + buttonLeft + buttonWidth,
                       windowTop + (windowHeight - clientHeight) + buttonTop + buttonHeight};
}

}  // namespace lumora
