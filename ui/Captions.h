// User-visible texts, looked up in the caption table chosen by language: the
// program's RT_RCDATA resource named after ProgramKey's "Language" value
// ("english" when it is missing or empty). The table is read and parsed
// afresh on every call; nothing is cached, and nothing is ever reported.
#pragma once

#include <string>
#include <vector>

#include "ui/Component.h"

namespace lumora {

// The text of |key| in |section|, without regard to case; the last matching
// row wins and a missing row gives "".
std::wstring GetCaption(const std::wstring& section, const std::wstring& key);

// The texts of a message box, one empty line ("\r\n\r\n") between each
// two, also where a text is empty.
std::wstring JoinMessageTexts(const std::vector<std::wstring>& texts);

// Applies the rows of the form's own section to its title and components.
// Without a table the form keeps the texts it has.
void LoadFormCaptions(Form& form);

}  // namespace lumora
