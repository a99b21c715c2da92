#include "ui/text/CaptionTable.h"

#include "common/WideText.h"

namespace lumora {

namespace {

bool IsBlank(wchar_t c) {
    return c >= 1 && c <= 0x20;
}

std::size_t SkipBlanks(std::wstring_view line, std::size_t pos) {
    while (pos < line.size() && IsBlank(line[pos])) {
        ++pos;
    }
    return pos;
}

// A quoted field from its opening quote at |pos|; |pos| ends past the
// closing quote, or at the end of the line when there is none.
std::wstring QuotedField(std::wstring_view line, std::size_t& pos) {
    std::wstring field;
    ++pos;
    while (pos < line.size()) {
        if (line[pos] == L'"') {
            if (pos + 1 < line.size() && line[pos + 1] == L'"') {
                field.push_back(L'"');
                pos += 2;
                continue;
            }
            ++pos;
            break;
        }
        field.push_back(line[pos++]);
    }
    return field;
}

std::wstring UnquotedField(std::wstring_view line, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < line.size() && !IsBlank(line[pos]) && line[pos] != L',') {
        ++pos;
    }
    return std::wstring(line.substr(start, pos - start));
}

enum class TextTarget { None, Caption, Lines };

TextTarget TargetOf(ComponentKind kind) {
    switch (kind) {
        case ComponentKind::Label:
        case ComponentKind::Panel:
        case ComponentKind::PushButton:
        case ComponentKind::PopupMenuItem:
            return TextTarget::Caption;
        case ComponentKind::MultiLineEdit:
            return TextTarget::Lines;
        case ComponentKind::Other:
            break;
    }
    return TextTarget::None;
}

// Calls |row| with the fields of each row of |section| (lower case), in
// order, until it answers false. A row with no fields, or one of the section
// with nothing after its section name, ends the table.
template <typename Row>
void ForEachRowOf(std::wstring_view table, const std::wstring& section, Row row) {
    CaptionLines lines(table);
    std::wstring_view line;
    while (lines.Next(line)) {
        if (line.empty()) {
            continue;
        }
        const std::vector<std::wstring> fields = SplitCaptionFields(line);
        if (fields.empty()) {
            return;
        }
        if (AsciiLower(fields[0]) != section) {
            continue;
        }
        if (fields.size() < 2 || !row(fields)) {
            return;
        }
    }
}

}  // namespace

bool CaptionLines::Next(std::wstring_view& line) {
    if (pos_ >= text_.size()) {
        return false;
    }
    const std::size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] != L'\r' && text_[pos_] != L'\n') {
        ++pos_;
    }
    line = text_.substr(start, pos_ - start);
    if (pos_ < text_.size()) {
        const bool crlf =
            text_[pos_] == L'\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == L'\n';
        pos_ += crlf ? 2 : 1;
    }
    return true;
}

std::vector<std::wstring> SplitCaptionFields(std::wstring_view line) {
    std::vector<std::wstring> fields;
    std::size_t pos = SkipBlanks(line, 0);
    while (pos < line.size() && fields.size() < kCaptionFields) {
        fields.push_back(line[pos] == L'"' ? QuotedField(line, pos) : UnquotedField(line, pos));
        pos = SkipBlanks(line, pos);
        if (pos < line.size() && line[pos] == L',') {
            ++pos;
            if (pos == line.size() && fields.size() < kCaptionFields) {
                fields.emplace_back();
            }
            pos = SkipBlanks(line, pos);
        }
    }
    return fields;
}

std::wstring FindCaptionIn(std::wstring_view table, const std::wstring& section,
                           const std::wstring& key) {
    const std::wstring wantedKey = AsciiLower(key);
    std::wstring result;
    ForEachRowOf(table, AsciiLower(section), [&](const std::vector<std::wstring>& fields) {
        if (AsciiLower(fields[1]) != wantedKey) {
            return true;
        }
        if (fields.size() < 3) {
            return false;
        }
        result = fields[2];
        return true;
    });
    return result;
}

void ApplyCaptionsTo(std::wstring_view table, Form& form) {
    const std::wstring name = form.Name();
    ForEachRowOf(table, AsciiLower(name), [&](const std::vector<std::wstring>& fields) {
        if (fields[1] == name) {
            if (fields.size() < 3) {
                return false;
            }
            form.SetTitle(fields[2]);
            return true;
        }
        Component* component = FindComponent(form, fields[1]);
        const TextTarget target =
            component != nullptr ? TargetOf(component->Kind()) : TextTarget::None;
        if (target == TextTarget::None) {
            return true;
        }
        if (fields.size() < 3) {
            return false;
        }
        if (target == TextTarget::Caption) {
            component->SetCaption(fields[2]);
        } else {
            component->SetLines(fields[2]);
        }
        return true;
    });
}

}  // namespace lumora
