// The grammar of a decoded caption table and the two ways of reading it.
//
// Lines break at CR LF, a lone CR or a lone LF; empty lines are skipped. A
// line holds comma- or blank-separated fields, quoted ("...", with "" for a
// quote) or unquoted: section, key and text, and nothing after the third
// field counts. A line of blanks ends the reading of the table, and so does a
// row that lacks a field the reader needs (see below); what was found or
// applied before that line stands.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ui/text/Component.h"

namespace lumora {

// The lines of a text, one by one; a break at the very end adds no line.
class CaptionLines {
  public:
    explicit CaptionLines(std::wstring_view text) : text_(text) {}
    bool Next(std::wstring_view& line);

  private:
    std::wstring_view text_;
    std::size_t pos_ = 0;
};

// Fields after the third are never read.
inline constexpr std::size_t kCaptionFields = 3;

// The first kCaptionFields fields of a line; none for a line of blanks.
std::vector<std::wstring> SplitCaptionFields(std::wstring_view line);

// The text of the last row whose section and key match |section| and |key|
// without regard to ASCII case; "" when none does. A row of that section
// without a key, or a matching row without a text, ends the search.
std::wstring FindCaptionIn(std::wstring_view table, const std::wstring& section,
                           const std::wstring& key);

// Applies the rows of the form's section (matched without ASCII case), in
// table order: a key equal to the form's name (with case) sets the title; a
// key naming a component (without ASCII case) sets the caption of a label,
// panel, push button or menu item, or the content of a memo; other keys do
// nothing. A row of the section without the field it needs ends the reading.
void ApplyCaptionsTo(std::wstring_view table, Form& form);

}  // namespace lumora
