// The sections of the caption table that the program's own code names: a
// window's section holds its texts, and its title under the section's own
// name as the key.
#pragma once

namespace lumora {

inline constexpr const wchar_t* kMainFormSection = L"LMMainForm";
inline constexpr const wchar_t* kAboutFormSection = L"LMAboutForm";
inline constexpr const wchar_t* kSettingsFormSection = L"LMSettingsForm";
// The texts of the update messages; no window of its own.
inline constexpr const wchar_t* kUpdateFormSection = L"LMUpdateForm";

}  // namespace lumora
