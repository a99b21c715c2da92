// The progress dialog's steps as the runs drive them, without a window.
#include <gtest/gtest.h>

#include <vector>

#include "ui/ProgressStep.h"

namespace lumora {
namespace {

// Records what a step does, in order.
struct StepLog {
    std::vector<std::wstring> labels;
    std::vector<std::uint32_t> pauses;
    std::vector<int> pumpsBeforeLabel;
    std::vector<int> bars;
    int pumps = 0;

    ProgressStepActions Actions() {
        ProgressStepActions actions;
        actions.pump = [this] { ++pumps; };
        actions.setLabel = [this](const std::wstring& text) {
            labels.push_back(text);
            pumpsBeforeLabel.push_back(pumps);
        };
        actions.pause = [this](std::uint32_t ms) { pauses.push_back(ms); };
        actions.setBar = [this](int percent) { bars.push_back(percent); };
        return actions;
    }
};

TEST(ProgressStepTest, TheShippedStepShowsThreeDotsAndPausesAfterEach) {
    EXPECT_EQ(kShippedTimings.minimumPasses, 1000000);
    EXPECT_EQ(kShippedTimings.maximumPasses, 2999999);
    ProgressState state{33, 0};
    StepLog log;
    RunProgressStep(L"Changing settings", 1000000, kShippedTimings, state, log.Actions());
    EXPECT_EQ(log.labels, (std::vector<std::wstring>{L"Changing settings.", L"Changing settings..",
                                                     L"Changing settings..."}));
    EXPECT_EQ(log.pumpsBeforeLabel, (std::vector<int>{20000, 50000, 150000}));
    EXPECT_EQ(log.pauses, (std::vector<std::uint32_t>{500, 500, 500}));
    EXPECT_EQ(log.pumps, 1000000);
    EXPECT_EQ(state.counter, 1);
    EXPECT_EQ(log.bars, std::vector<int>{3});
}

TEST(ProgressStepTest, PassCountsStayInTheirRange) {
    for (std::uint64_t seed = 0; seed < 200; ++seed) {
        const std::int32_t n = DrawPassCount(kShippedTimings, seed * 7919);
        EXPECT_GE(n, 1000000);
        EXPECT_LE(n, 2999999);
    }
    EXPECT_NE(DrawPassCount(kShippedTimings, 1), DrawPassCount(kShippedTimings, 2));
}

std::vector<int> BarsOfARun(std::int32_t total, int steps) {
    ProgressState state{total, 0};
    StepLog log;
    for (int i = 0; i < steps; ++i) {
        RunProgressStep(L"x", kTestBuildTimings.minimumPasses, kTestBuildTimings, state,
                        log.Actions());
    }
    return log.bars;
}

TEST(ProgressStepTest, BarsOfTheOptimizeAndRestoreRuns) {
    EXPECT_EQ(BarsOfARun(33, 32),
              (std::vector<int>{3,  6,  9,  12, 15, 18, 21, 24, 27, 30, 33, 36, 39, 42, 45, 48,
                                52, 55, 58, 61, 64, 67, 70, 73, 76, 79, 82, 85, 88, 91, 94, 97}));
    EXPECT_EQ(BarsOfARun(29, 29),
              (std::vector<int>{3,  7,  10, 14, 17, 21, 24, 28, 31, 34, 38, 41, 45, 48, 52,
                                55, 59, 62, 66, 69, 72, 76, 79, 83, 86, 90, 93, 97, 100}));
}

TEST(ProgressStepTest, PercentRoundsTiesToEvenAndAZeroTotalLeavesTheBar) {
    EXPECT_EQ(ProgressPercent(1, 8), 12);
    EXPECT_EQ(ProgressPercent(3, 8), 38);
    EXPECT_EQ(ProgressPercent(5, 8), 62);
    EXPECT_EQ(ProgressPercent(1, 0), std::nullopt);
    EXPECT_TRUE(BarsOfARun(0, 2).empty());
}

}  // namespace
}  // namespace lumora
