// Small pieces of HTTP syntax shared by the reply reader and the text
// decoder: white space, ASCII letter case, trimming.
#pragma once

#include <algorithm>
#include <string>

namespace lumora::http {

inline bool IsSpace(char c) {
    return c == ' ' || c == '\t';
}

inline char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), AsciiLower);
    return text;
}

// |text| without spaces and tabs at either end.
inline std::string Trim(const std::string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsSpace(text[first])) {
        ++first;
    }
    while (last > first && IsSpace(text[last - 1])) {
        --last;
    }
    return text.substr(first, last - first);
}

}  // namespace lumora::http
