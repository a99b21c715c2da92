// The connection types the main window offers, in the order of its list. An
// entry's position is the connection type's number: the list's item index,
// the program key's InternetType and what the tweak conditions are stated
// on. The catalogue reads an entry's speed from here; the help pages name
// the connection types from the same list.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumora {

enum class ConnectionSpeed { Slow, Fast };

struct ConnectionType {
    const wchar_t* text;  // the list entry, with its two leading blanks
    ConnectionSpeed speed;
};

inline constexpr ConnectionType kConnectionTypes[] = {
    {L"  Cable | DSL | Wi-Fi", ConnectionSpeed::Fast},
    {L"  Verizon FiOS | Wi-Fi", ConnectionSpeed::Fast},
    {L"  Dial-up 56k", ConnectionSpeed::Slow},
    {L"  Satellite", ConnectionSpeed::Fast},
    {L"  Android | iPhone | Windows Phone | BlackBerry", ConnectionSpeed::Fast},
    {L"  LTE | 4G | 3G | 2G | Edge Modem", ConnectionSpeed::Fast},
    {L"  Local Area Network", ConnectionSpeed::Fast},
    {L"  ISDN", ConnectionSpeed::Slow},
    {L"  T1 | T3 | OC3 | OC12+", ConnectionSpeed::Fast},
};
inline constexpr std::size_t kConnectionTypeCount =
    sizeof(kConnectionTypes) / sizeof(kConnectionTypes[0]);

// Every connection type but the slow ones of the list is fast, a number the
// list does not hold ("none selected", a stored value out of range) included.
constexpr bool IsFastConnection(std::int32_t connectionType) {
    return connectionType < 0 || static_cast<std::size_t>(connectionType) >= kConnectionTypeCount ||
           kConnectionTypes[connectionType].speed == ConnectionSpeed::Fast;
}

}  // namespace lumora
