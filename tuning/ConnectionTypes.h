// The connection types the main window offers, in the order of its list. An
// entry's position is the connection index the tweak conditions are stated on
// (connection:: in TweakCatalogue.h names the ones they single out); the help
// pages name the connection types from the same list.
#pragma once

#include <cstddef>

namespace lumora {

// The list entries, with their two leading blanks.
inline constexpr const wchar_t* kConnectionTypes[] = {
    L"  Cable | DSL | Wi-Fi",
    L"  Verizon FiOS | Wi-Fi",
    L"  Dial-up 56k",
    L"  Satellite",
    L"  Android | iPhone | Windows Phone | BlackBerry",
    L"  LTE | 4G | 3G | 2G | Edge Modem",
    L"  Local Area Network",
    L"  ISDN",
    L"  T1 | T3 | OC3 | OC12+",
};
inline constexpr std::size_t kConnectionTypeCount =
    sizeof(kConnectionTypes) / sizeof(kConnectionTypes[0]);

}  // namespace lumora
