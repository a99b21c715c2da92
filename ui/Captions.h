// User-visible texts, looked up in the caption table chosen by language: the
// program's RT_RCDATA resource named after ProgramKey's "Language" value
// ("english" when it is missing or empty). The language is read on every
// call; the table lookups themselves are in ui/text/CaptionLookup.h.
#pragma once

#include <string>

#include "ui/text/CaptionLookup.h"
#include "ui/text/Component.h"

namespace lumora {

// The text of |key| in |section|, without regard to case; the last matching
// row wins and a missing row gives "".
std::wstring GetCaption(const std::wstring& section, const std::wstring& key);

// A message box's text: the texts of "<stem>1" to "<stem><parts>" in
// |section|, one empty line between each two (LookUpMessageText).
std::wstring GetMessageText(const std::wstring& section, const std::wstring& stem, int parts = 2);

// Applies the rows of the form's own section to its title and components.
// Without a table the form keeps the texts it has.
void LoadFormCaptions(Form& form);

}  // namespace lumora
