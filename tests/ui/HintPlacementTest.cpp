// The hint window's rules without a window: measuring a hint line by line,
// placing the tooltip on its monitor, the timings and blank hints.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "ui/HintPlacement.h"

namespace lumora {
namespace {

// A line measurer whose sizes tell the lines apart: 7 per character wide,
// 10 plus the length high. Remembers the lines it was given.
struct FakeMeasurer {
    std::vector<std::wstring> lines;

    HintLineMeasurer Measure() {
        return [this](const std::wstring& line) {
            lines.push_back(line);
            const int length = static_cast<int>(line.size());
            return HintSize{7 * length, 10 + length};
        };
    }
};

TEST(MeasureHintTextTest, SplitsAtCrLfOnlyAndAddsTheGapBetweenLines) {
    struct Case {
        std::wstring text;
        int gap;
        std::vector<std::wstring> lines;
        HintSize size;
    };
    const Case cases[] = {
        {L"Save", 0, {L"Save"}, {28, 14}},
        {L"", 0, {L""}, {0, 10}},
        {L"ab\r\ncdef", 0, {L"ab", L"cdef"}, {28, 12 + 14}},
        {L"ab\r\ncdef", 3, {L"ab", L"cdef"}, {28, 12 + 3 + 14}},
        // The widest line may be any of them; the gap comes after every line
        // but the last.
        {L"a\r\nlonger\r\nbb", 2, {L"a", L"longer", L"bb"}, {42, 11 + 2 + 16 + 2 + 12}},
        // A lone CR or LF stays inside its line.
        {L"ab\rcd\nef", 4, {L"ab\rcd\nef"}, {56, 18}},
        {L"a\n\r\nb\r", 0, {L"a\n", L"b\r"}, {14, 12 + 12}},
        // A text ending in CR LF has an empty last line.
        {L"x\r\n", 5, {L"x", L""}, {7, 11 + 5 + 10}},
        {L"\r\n\r\n", 1, {L"", L"", L""}, {0, 10 + 1 + 10 + 1 + 10}},
    };
    for (const Case& c : cases) {
        FakeMeasurer measurer;
        EXPECT_EQ(MeasureHintText(c.text, c.gap, measurer.Measure()), c.size)
            << testing::PrintToString(c.text) << " gap " << c.gap;
        EXPECT_EQ(measurer.lines, c.lines) << testing::PrintToString(c.text);
    }
}

TEST(MeasureHintTextTest, AFaultWhileMeasuringGivesZeroByZero) {
    int calls = 0;
    const HintLineMeasurer failsOnSecondLine = [&calls](const std::wstring&) {
        if (++calls == 2) {
            throw std::runtime_error("no device context");
        }
        return HintSize{50, 12};
    };
    EXPECT_EQ(MeasureHintText(L"first\r\nsecond\r\nthird", 2, failsOnSecondLine), HintSize{});
    EXPECT_EQ(calls, 2);
    // A line the measurer cannot measure is simply 0 by 0.
    const HintLineMeasurer zero = [](const std::wstring&) { return HintSize{}; };
    EXPECT_EQ(MeasureHintText(L"a\r\nb", 3, zero), (HintSize{0, 3}));
}

TEST(HintFrameTest, TheFrameOfAnEmptyTextIsAddedOnBothSides) {
    EXPECT_EQ(WithHintFrame({100, 20}, {-3, -2, 3, 2}), (HintSize{106, 24}));
    // An uneven frame counts as it is.
    EXPECT_EQ(WithHintFrame({100, 20}, {-1, -4, 5, 2}), (HintSize{106, 26}));
    EXPECT_EQ(WithHintFrame({0, 0}, {0, 0, 0, 0}), (HintSize{0, 0}));
}

TEST(PlaceHintTest, KeepsTheTooltipOnItsMonitor) {
    const HintBounds screen{0, 0, 1280, 1024};
    const HintBounds leftMonitor{-1280, 0, 0, 1024};
    const HintBounds smallScreen{0, 0, 640, 300};
    struct Case {
        const char* what;
        HintPoint point;
        int pointerY;
        HintSize size;
        HintBounds bounds;
        HintPoint placed;
    };
    const Case cases[] = {
        {"fits where asked", {100, 120}, 100, {50, 20}, screen, {100, 120}},
        {"ends one pixel above the bottom", {100, 1003}, 983, {50, 20}, screen, {100, 1003}},
        {"reaches the bottom: above the pointer", {100, 1004}, 984, {50, 20}, screen, {100, 964}},
        {"below the bottom: above the pointer", {100, 1030}, 1010, {50, 40}, screen, {100, 970}},
        {"ends one pixel left of the right edge", {1229, 120}, 100, {50, 20}, screen, {1229, 120}},
        {"reaches the right edge: ends at it", {1230, 120}, 100, {50, 20}, screen, {1230, 120}},
        {"crosses the right edge: ends at it", {1250, 120}, 100, {50, 20}, screen, {1230, 120}},
        {"bottom right corner", {1270, 1010}, 990, {200, 30}, screen, {1080, 960}},
        {"left of the monitor", {-20, 120}, 100, {50, 20}, screen, {0, 120}},
        {"above the monitor", {100, -40}, -60, {50, 20}, screen, {100, 0}},
        {"wider than the monitor", {300, 120}, 100, {1500, 20}, screen, {0, 120}},
        {"taller than the room above the pointer", {10, 250}, 150, {60, 200}, smallScreen, {10, 0}},
        {"crosses the right edge of a monitor left of the primary",
         {-30, 120},
         100,
         {50, 20},
         leftMonitor,
         {-50, 120}},
        {"left of a monitor left of the primary",
         {-1300, 120},
         100,
         {50, 20},
         leftMonitor,
         {-1280, 120}},
    };
    for (const Case& c : cases) {
        const HintPoint placed = PlaceHint(c.point, c.pointerY, c.size, c.bounds);
        EXPECT_EQ(placed.x, c.placed.x) << c.what;
        EXPECT_EQ(placed.y, c.placed.y) << c.what;
    }
}

TEST(HintTimingsTest, FollowTheDoubleClickTime) {
    struct Case {
        unsigned doubleClick;
        HintTimings timings;
    };
    const Case cases[] = {
        {500, {500, 100, 5000}},  // the Windows default
        {333, {333, 66, 3330}},   // whole-number division
        {4, {4, 0, 40}},
        {0, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        const HintTimings timings = HintTimingsFromDoubleClick(c.doubleClick);
        EXPECT_EQ(timings.pause, c.timings.pause) << c.doubleClick;
        EXPECT_EQ(timings.shortPause, c.timings.shortPause) << c.doubleClick;
        EXPECT_EQ(timings.hidePause, c.timings.hidePause) << c.doubleClick;
    }
}

TEST(ShortHintTextTest, IsThePartBeforeTheFirstBarWithoutBlanksAtTheEnds) {
    struct Case {
        std::wstring hint;
        std::wstring shortText;
    };
    const Case cases[] = {
        {L"Save", L"Save"},
        {L"Save|Saves the settings", L"Save"},
        {L"  Open file \t|long", L"Open file"},
        {L"a|b|c", L"a"},
        {L"", L""},
        {L"   ", L""},
        {L" \t\r\n", L""},
        {L"|only a long part", L""},
        {L"  |only a long part", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShortHintText(c.hint), c.shortText) << testing::PrintToString(c.hint);
    }
}

}  // namespace
}  // namespace lumora
