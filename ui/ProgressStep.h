// One step of the progress dialog, apart from the window: the random number
// of message-pump passes, the dots that appear after 20,000, 50,000 and
// 150,000 passes with a pause each, and the bar's percentage.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace lumora {

struct ProgressTimings {
    std::int32_t minimumPasses;  // n is drawn uniformly from minimum to maximum
    std::int32_t maximumPasses;
    std::int32_t firstDot;
    std::int32_t secondDot;
    std::int32_t thirdDot;
    std::uint32_t pauseMs;  // after each dot
};

// The figures the program runs with. A test build (LUMORA_TEST_BUILD) runs
// with far fewer passes and short pauses, since a pump pass under Wine costs
// a round trip to its server; the shipped build always has these.
inline constexpr ProgressTimings kShippedTimings{1000000, 2999999, 20000, 50000, 150000, 500};
inline constexpr ProgressTimings kTestBuildTimings{20, 59, 2, 5, 15, 5};
const ProgressTimings& ActiveTimings();

// The progress dialog's step counter: how many steps the run announced and
// how many were shown so far.
struct ProgressState {
    std::int32_t total = 0;
    std::int32_t counter = 0;
};

// 100 x counter / total rounded to the nearest whole number, ties to even;
// no value for a total of 0.
std::optional<int> ProgressPercent(std::int32_t counter, std::int32_t total);

// What a step does to the dialog and the program.
struct ProgressStepActions {
    std::function<void()> pump;                         // one pass of the message pump
    std::function<void(const std::wstring&)> setLabel;  // the step text with its dots
    std::function<void(std::uint32_t milliseconds)> pause;
    std::function<void(int)> setBar;
};

// Draws n from the timings' range with a generator seeded from |seed|.
std::int32_t DrawPassCount(const ProgressTimings& timings, std::uint64_t seed);

// Runs one step with n passes: dots, pauses, then the counter and the bar.
void RunProgressStep(const std::wstring& text, std::int32_t passes, const ProgressTimings& timings,
                     ProgressState& state, const ProgressStepActions& actions);

}  // namespace lumora
