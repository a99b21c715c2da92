#include "ui/HintPlacement.h"

#include <algorithm>

namespace lumora {

HintSize MeasureHintText(const std::wstring& text, int lineGap,
                         const HintLineMeasurer& measureLine) {
    try {
        HintSize total;
        std::wstring::size_type start = 0;
        for (;;) {
            const std::wstring::size_type end = text.find(L"\r\n", start);
            const bool last = end == std::wstring::npos;
            const HintSize line =
                measureLine(text.substr(start, last ? std::wstring::npos : end - start));
            total.width = std::max(total.width, line.width);
            total.height += line.height;
            if (last) {
                return total;
            }
            total.height += lineGap;
            start = end + 2;
        }
    } catch (...) {
        return HintSize{};
    }
}

HintSize WithHintFrame(HintSize text, const HintBounds& frameOfEmptyText) {
    return HintSize{text.width + (frameOfEmptyText.right - frameOfEmptyText.left),
                    text.height + (frameOfEmptyText.bottom - frameOfEmptyText.top)};
}

HintPoint PlaceHint(HintPoint point, int pointerY, HintSize size, const HintBounds& bounds) {
    HintPoint placed = point;
    if (point.y + size.height >= bounds.bottom) {
        placed.y = pointerY - size.height;
    }
    if (placed.x + size.width >= bounds.right) {
        placed.x = bounds.right - size.width;
    }
    if (placed.x < bounds.left) {
        placed.x = bounds.left;
    }
    if (placed.y < bounds.top) {
        placed.y = bounds.top;
    }
    return placed;
}

HintTimings HintTimingsFromDoubleClick(unsigned doubleClickMs) {
    return HintTimings{doubleClickMs, doubleClickMs / 5, 10 * doubleClickMs};
}

std::wstring ShortHintText(const std::wstring& hint) {
    const std::wstring shortPart = hint.substr(0, hint.find(L'|'));
    const auto isBlank = [](wchar_t c) { return c <= L' '; };
    const auto first = std::find_if_not(shortPart.begin(), shortPart.end(), isBlank);
    const auto last = std::find_if_not(shortPart.rbegin(), shortPart.rend(), isBlank).base();
    return first < last ? std::wstring(first, last) : std::wstring();
}

}  // namespace lumora
