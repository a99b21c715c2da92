// The caption tables the program carries: RT_RCDATA resources of its own
// module, named after their language. The native build, which has no
// resources, carries the shipped table compiled in.
#pragma once

#include <optional>
#include <string>

namespace lumora {

// The decoded table named |name| (resource names ignore case); nullopt when
// the program has no table of that name.
std::optional<std::wstring> ReadCaptionResource(const std::wstring& name);

}  // namespace lumora
