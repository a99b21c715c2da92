// The caption tables by language, with the language handed in: the tables
// are read and parsed afresh on every call; nothing is cached, and nothing is
// ever reported.
#pragma once

#include <string>
#include <vector>

#include "ui/text/Component.h"

namespace lumora {

// The text of |key| in |section| of the table of |language| (ASCII letters
// compared without case), or "" when no row matches or no table can be read;
// the last matching row wins.
std::wstring LookUpCaption(const std::wstring& language, const std::wstring& section,
                           const std::wstring& key);

// The texts of a message box, one empty line ("\r\n\r\n") between each
// two, also where a text is empty.
std::wstring JoinMessageTexts(const std::vector<std::wstring>& texts);

// A message box's text from its parts in the table of |language|: the texts
// of the keys "<stem>1" to "<stem><parts>" of |section|, joined as above.
std::wstring LookUpMessageText(const std::wstring& language, const std::wstring& section,
                               const std::wstring& stem, int parts = 2);

// Applies the rows of the form's own section in the table of |language| to
// its title and components. Without a table the form keeps the texts it has.
void ApplyLanguageCaptions(const std::wstring& language, Form& form);

}  // namespace lumora
