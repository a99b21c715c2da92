// The locale-free parts of reading a date text.
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

}  // namespace lumora
