// The program's own version: shown in the main window and the about box and
// sent with the update check.
#pragma once

namespace lumora {

inline constexpr const wchar_t* kProgramVersion = L"2.9.5.2016";

}  // namespace lumora
