// How long the optimize run's own registry work takes under Wine: the backup
// copies and the catalogue rows written through the registry layer, then the
// whole run with a view whose steps and questions cost nothing, and the
// restore's registry work for comparison. Prints figures; asserts nothing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/MainFormRuns.h"
#include "platform/WindowsVersion.h"
#include "registry/ProgramKey.h"
#include "tests/support/RawRegistry.h"
#include "tuning/TweakApply.h"
#include "tuning/TweakPlan.h"
#include "tuning/WindowsEditions.h"

namespace lumora {
namespace {

constexpr int kRounds = 25;
constexpr int kWindows10Item = 0;
constexpr int kCableItem = 0;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// Runs |prepare| untimed and |work| timed, kRounds times; prints the median
// and the fastest round.
void Measure(const char* what, const std::function<void()>& prepare,
             const std::function<void()>& work) {
    std::vector<double> times;
    for (int round = 0; round < kRounds; ++round) {
        prepare();
        LARGE_INTEGER start{};
        LARGE_INTEGER end{};
        QueryPerformanceCounter(&start);
        work();
        QueryPerformanceCounter(&end);
        times.push_back(Milliseconds(start, end));
    }
    std::sort(times.begin(), times.end());
    std::printf("%-62s median %7.2f ms, fastest %7.2f ms (%d rounds)\n", what,
                times[times.size() / 2], times.front(), kRounds);
}

// The Windows this runs on, as the main window gives it to the runs.
WindowsWidth ThisWindows() {
    return IsWindows64Bit() ? WindowsWidth::Bits64 : WindowsWidth::Bits32;
}

// The main window as a run sees it, without windows: Windows 10, Cable,
// Boost; no time spent on steps; OK to the restore question, No to the
// restart.
class NoOpView : public RunView {
  public:
    TuningChoices Choices() override {
        TuningChoices choices = ChoicesFromSelection(kWindows10Item, 0, kCableItem, 0);
        choices.windowsWidth = ThisWindows();
        return choices;
    }
    std::wstring MainTitle() override { return L""; }
    void SetMainEnabled(bool) override {}
    void SetRestoreEnabled(bool) override {}
    void ShowProgress(std::int32_t) override {}
    void CloseProgress() override {}
    void SetProgressHeading(const std::wstring&) override {}
    void ShowProgressStep(const std::wstring&) override {}
    bool CloseRequested() override { return false; }
    int Ask(const std::wstring&, const std::wstring&, unsigned flags) override {
        return flags == kRestoreQuestionFlags ? kIdOk : IDNO;
    }
    void PlayClick() override {}
    void Restart() override {}
};

void Run() {
    test::RawRegistry raw;
    auto noProgramKey = [&raw] { raw.DeleteTree(program_key::kRoot, program_key::kPath); };
    const TuningChoices choices{.osIndex = ConvertWindowsVersion(kWindows10Item),
                                .connectionType = kCableItem,
                                .speedSetting = 0,
                                .windowsWidth = ThisWindows()};
    const OptimizePlan plan = PlanOptimize(choices);
    const OptimizePlan kept = PlanOptimize(choices, BackupCopies::Kept);
    const std::vector<RestoreStep> restore =
        PlanRestore(choices.osIndex, choices.connectionType, choices.windowsWidth);
    char what[128];

    std::snprintf(what, sizeof(what), "optimize registry work: %zu copies + %zu rows",
                  plan.backupCopies.size(), plan.writes.size());
    Measure(what, noProgramKey, [&plan] { ApplyOptimizePlan(plan); });
    std::snprintf(what, sizeof(what), "optimize registry work, copies kept: %zu rows",
                  plan.writes.size());
    Measure(
        what, [] {}, [&kept] { ApplyOptimizePlan(kept); });
    std::snprintf(what, sizeof(what), "restore registry work: %zu steps", restore.size());
    Measure(
        what, [&plan] { ApplyOptimizePlan(plan); }, [&restore] { ApplyRestorePlan(restore); });

    NoOpView view;
    Measure("whole optimize run, steps and questions free (first run)", noProgramKey,
            [&view] { RunOptimize(view); });
    Measure(
        "whole restore run, steps and questions free", [&view] { RunOptimize(view); },
        [&view] { RunRestore(view); });
    noProgramKey();
}

}  // namespace
}  // namespace lumora

int main() {
    lumora::Run();
    return 0;
}
