// The main window's decisions that need no window: the processor make from
// its name, the speed setting's range, the 45-day update rule and the help
// menu's place.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "registry/DateStamp.h"

namespace lumora {

inline constexpr int kUpdateCheckDays = 45;

// 0 Intel, 1 AMD, 2 VIA, from the processor's name: the first of "intel",
// "amd", "via" found anywhere in the lowered name; Intel when none is.
std::int32_t DetectProcessorType(const std::wstring& processorName);

// The processor's name as Windows records it; "" when it can't be read.
std::wstring ReadProcessorName();

// The track bar's position for a stored speed setting: 0 or 1.
int ClampSpeedSetting(std::int32_t stored);

// True when more than 45 whole days lie between the recorded update date
// and now (both day counts); no date starts nothing.
bool UpdateCheckDue(std::optional<double> updatedDate, double now);

// Reads a stored date text back as a day count (the main window reads it
// with the user's regional formats); no value when it is not a date.
using StoredDateReader = std::function<std::optional<double>(const std::wstring&)>;

// The 45-day rule as the main window applies it when it is created: the
// program key's UpdatedDate, read back with |readBack|, against |now|. A
// missing or empty value starts nothing, whatever the clock says.
bool UpdateCheckDueAt(const LocalDateTime& now, const StoredDateReader& readBack);

struct ScreenPoint {
    int x;
    int y;
};
// The help menu's top-right corner: right-aligned under the Help button,
// counting the whole frame as lying left of and above the client area.
ScreenPoint HelpMenuCorner(int windowLeft, int windowTop, int windowWidth, int windowHeight,
                           int clientWidth, int clientHeight, int buttonLeft, int buttonTop,
                           int buttonWidth, int buttonHeight);

}  // namespace lumora
