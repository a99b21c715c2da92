// The locale-free parts of reading a date text.
#include <algorithm>
#include <cwchar>
#include <vector>

#include "registry/DateText.h"

namespace lumora {

std::optional<LocalDateTime> ParseShortDate(const std::wstring& text, const std::wstring& pattern,
                                            int currentYear) {
    // Order of the fields as the pattern names them.
    std::wstring order;
    for (wchar_t c : pattern) {
        const wchar_t field = c == L'd' ? L'd' : c == L'M' ? L'M' : c == L'y' ? L'y' : 0;
        if (field != 0 && order.find(field) == std::wstring::npos) {
            order.push_back(field);
        }
    }
    if (order.size() != 3) {
        return std::nullopt;
    }
    std::vector<std::wstring> fields;
    std::wstring current;
    for (wchar_t c : text) {
        if (c >= L'0' && c <= L'9') {
            current.push_back(c);
            if (current.size() > 4) {
                return std::nullopt;
            }
        } else {
            const bool separator = c == L' ' || c == L'/' || c == L'.' || c == L'-' || c == L',';
            if (!separator) {
                return std::nullopt;
            }
            if (!current.empty()) {
                fields.push_back(current);
                current.clear();
            }
        }
    }
    if (!current.empty()) {
        fields.push_back(current);
    }
    if (fields.size() == 2) {
        // Without a year: day and month in the pattern's order, this year.
        order.erase(order.find(L'y'), 1);
    } else if (fields.size() != 3) {
        return std::nullopt;
    }
    LocalDateTime t;
    t.year = currentYear;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const int value = std::stoi(fields[i]);
        switch (order[i]) {
            case L'd':
                t.day = value;
                break;
            case L'M':
                t.month = value;
                break;
            default:
                t.year = fields[i].size() <= 2 ? (value < 50 ? 2000 + value : 1900 + value) : value;
                break;
        }
    }
    if (!IsValidDateTime(t)) {
        return std::nullopt;
    }
    return t;
}

std::optional<double> ParseDayCount(const std::wstring& text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
        ++i;
    }
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (text[i] >= L'0' && text[i] <= L'9') {
            digits = true;
        } else if (text[i] == L'.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digits || text.size() > 32) {
        return std::nullopt;
    }
    const double value = std::wcstod(text.c_str(), nullptr);
    // The range of dates the platform can write: years 100 to 9999.
    if (value < -657434.0 || value > 2958465.999) {
        return std::nullopt;
    }
    return value;
}

namespace {

// A date or time pattern cut into its runs of letters and the texts around
// them ("M/d/yyyy": fields M, d, yyyy; separators "", "/", "/", "").
struct PatternParts {
    std::vector<std::wstring> fields;
    std::vector<std::wstring> separators;  // one more than the fields
};

PatternParts SplitPattern(const std::wstring& pattern) {
    PatternParts parts;
    parts.separators.emplace_back();
    for (wchar_t c : pattern) {
        const bool letter = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
        const bool inField = parts.fields.size() == parts.separators.size();
        if (letter && inField && parts.fields.back().back() == c) {
            parts.fields.back().push_back(c);
        } else if (letter) {
            parts.fields.emplace_back(1, c);
        } else {
            if (inField) {
                parts.separators.emplace_back();
            }
            parts.separators.back().push_back(c);
        }
    }
    if (parts.fields.size() == parts.separators.size()) {
        parts.separators.emplace_back();
    }
    return parts;
}

bool OneOf(const std::wstring& field, std::initializer_list<const wchar_t*> allowed) {
    return std::any_of(allowed.begin(), allowed.end(),
                       [&field](const wchar_t* one) { return field == one; });
}

// Exactly one field of |fields| is one of |allowed|.
bool OnceOf(const std::vector<std::wstring>& fields,
            std::initializer_list<const wchar_t*> allowed) {
    return std::count_if(fields.begin(), fields.end(), [&allowed](const std::wstring& field) {
               return OneOf(field, allowed);
           }) == 1;
}

}  // namespace

bool FormatsKeepTheMoment(const std::wstring& shortDate, const std::wstring& time,
                          const std::wstring& am, const std::wstring& pm, bool gregorian) {
    // Day, month and year in any order, with one and the same "/", "." or
    // "-" between them and nothing around them.
    const PatternParts date = SplitPattern(shortDate);
    if (!gregorian || date.fields.size() != 3 || !OnceOf(date.fields, {L"d", L"dd"}) ||
        !OnceOf(date.fields, {L"M", L"MM"}) || !OnceOf(date.fields, {L"yyyy"}) ||
        !date.separators.front().empty() || !date.separators.back().empty() ||
        date.separators[1] != date.separators[2] ||
        !OneOf(date.separators[1], {L"/", L".", L"-"})) {
        return false;
    }
    // H:mm:ss, or h:mm:ss tt with the markers "AM" and "PM"; a time with
    // other separators ("HH.mm.ss") or markers is not always read back.
    const PatternParts clock = SplitPattern(time);
    const std::vector<std::wstring>& f = clock.fields;
    const std::vector<std::wstring>& between = clock.separators;
    if (f.size() < 3 || f[1] != L"mm" || f[2] != L"ss" || between.front() != L"" ||
        between[1] != L":" || between[2] != L":" || !between.back().empty()) {
        return false;
    }
    if (f.size() == 3) {
        return OneOf(f[0], {L"H", L"HH"});
    }
    return f.size() == 4 && OneOf(f[0], {L"h", L"hh"}) && between[3] == L" " && f[3] == L"tt" &&
           am == L"AM" && pm == L"PM";
}

}  // namespace lumora
