// User-visible texts, looked up in the caption table chosen by language.
#pragma once

#include <string>

namespace lumora {

// The text of |key| in |section|, without regard to case; the last matching
// row wins and a missing row gives "".
std::wstring GetCaption(const std::wstring& section, const std::wstring& key);

}  // namespace lumora
