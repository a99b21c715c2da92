// Start-up steps that need no window: the install and update dates in the
// program key, and the choice of mode from the first command-line argument.
#pragma once

#include <string>

#include "registry/DateStamp.h"

namespace lumora {

enum class StartMode { Interactive, CheckUpdate };

inline constexpr const wchar_t* kCheckUpdateSwitch = L"/checkupdate";

// The update-check mode when the first argument, ASCII-lowered, is the switch
// as a whole; the interactive mode for anything else or no argument.
StartMode ModeFromArgument(const std::wstring& firstArgument);

// Stamps a missing install date and consumes the "Updated" mark, with |now|
// as the moment stamped. Runs on every start, in every mode.
void RecordStartDates(const LocalDateTime& now);

}  // namespace lumora
