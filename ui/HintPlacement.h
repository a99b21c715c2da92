// The rules of the native hint window that need no window: how a hint text is
// measured line by line, where the tooltip goes on its monitor, the hint
// timings that follow the double-click time, and which hint texts count as
// blank.
#pragma once

#include <functional>
#include <string>

namespace lumora {

struct HintSize {
    int width = 0;
    int height = 0;

    bool operator==(const HintSize& other) const {
        return width == other.width && height == other.height;
    }
    bool operator!=(const HintSize& other) const { return !(*this == other); }
};

struct HintPoint {
    int x = 0;
    int y = 0;

    bool operator==(const HintPoint& other) const { return x == other.x && y == other.y; }
    bool operator!=(const HintPoint& other) const { return !(*this == other); }
};

// A screen rectangle: left and top inside, right and bottom just outside.
struct HintBounds {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Measures one line of text; a line it cannot measure is 0 by 0.
using HintLineMeasurer = std::function<HintSize(const std::wstring& line)>;

// The size of a hint text whose lines are separated by CR LF (a lone CR or LF
// is part of a line): the widest line's width, and the sum of the line
// heights with |lineGap| after every line but the last. A fault while
// measuring gives 0 by 0.
HintSize MeasureHintText(const std::wstring& text, int lineGap,
                         const HintLineMeasurer& measureLine);

// The tooltip's size from its text's size and the window rectangle the
// tooltip gives an empty text rectangle (a frame around 0, 0, 0, 0): the text
// plus the frame on both sides.
HintSize WithHintFrame(HintSize text, const HintBounds& frameOfEmptyText);

// Where a tooltip of |size| goes when asked for |point|, on the monitor with
// |bounds|, with the pointer at |pointerY|: above the pointer when it would
// reach the bottom, moved left to end at the right edge when it would reach
// it, and never left of or above the monitor.
HintPoint PlaceHint(HintPoint point, int pointerY, HintSize size, const HintBounds& bounds);

// The application's hint timings, in milliseconds.
struct HintTimings {
    unsigned pause = 0;       // before a hint is shown
    unsigned shortPause = 0;  // before the next hint while one is showing
    unsigned hidePause = 0;   // until a shown hint is hidden
};

// The timings from the system's double-click time: D, D / 5 and 10 x D.
HintTimings HintTimingsFromDoubleClick(unsigned doubleClickMs);

// The short part of a hint (the text before the first "|", or all of it)
// without blanks and control characters at either end.
std::wstring ShortHintText(const std::wstring& hint);

}  // namespace lumora
