// Window class names of the program's three top-level windows. They are
// fixed: other processes of the program find these windows by class alone.
#pragma once

namespace lumora {

inline constexpr const wchar_t* kMainFormClass = L"TLMMainForm";
inline constexpr const wchar_t* kAboutFormClass = L"TLMAboutForm";
inline constexpr const wchar_t* kSettingsFormClass = L"TLMSettingsForm";

}  // namespace lumora
