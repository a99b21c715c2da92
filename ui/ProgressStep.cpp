#include "ui/ProgressStep.h"

#include <cmath>
#include <random>

namespace lumora {

const ProgressTimings& ActiveTimings() {
#if defined(LUMORA_TEST_BUILD)
    return kTestBuildTimings;
#else
    return kShippedTimings;
#endif
}

std::optional<int> ProgressPercent(std::int32_t counter, std::int32_t total) {
    if (total == 0) {
        return std::nullopt;
    }
    const double exact = 100.0 * static_cast<double>(counter) / static_cast<double>(total);
    return static_cast<int>(std::nearbyint(exact));  // the default rounding: ties to even
}

std::int32_t DrawPassCount(const ProgressTimings& timings, std::uint64_t seed) {
    std::mt19937_64 generator(seed);
    std::uniform_int_distribution<std::int32_t> range(timings.minimumPasses, timings.maximumPasses);
    return range(generator);
}

void RunProgressStep(const std::wstring& text, std::int32_t passes, const ProgressTimings& timings,
                     ProgressState& state, const ProgressStepActions& actions) {
    for (std::int32_t i = 1; i <= passes; ++i) {
        actions.pump();
        const int dots = i == timings.firstDot    ? 1
                         : i == timings.secondDot ? 2
                         : i == timings.thirdDot  ? 3
                                                  : 0;
        if (dots > 0) {
            actions.setLabel(text + std::wstring(static_cast<std::size_t>(dots), L'.'));
            actions.pause(timings.pauseMs);
        }
    }
    ++state.counter;
    if (const std::optional<int> percent = ProgressPercent(state.counter, state.total)) {
        actions.setBar(*percent);
    }
}

}  // namespace lumora
