#include "app/MainFormRuns.h"

#include <vector>

#include "tuning/TweakApply.h"
#include "ui/Captions.h"
#include "ui/text/CaptionSections.h"

namespace lumora {

namespace {

std::vector<std::wstring> Repeat(std::initializer_list<std::pair<const wchar_t*, int>> runs) {
    std::vector<std::wstring> keys;
    for (const auto& [key, count] : runs) {
        keys.insert(keys.end(), static_cast<std::size_t>(count), key);
    }
    return keys;
}

// The caption keys of the steps that both runs show first, each as often as
// it is shown.
const std::vector<std::wstring>& SharedStepKeys() {
    static const std::vector<std::wstring> keys = Repeat({{L"MessageChange0", 2},
                                                          {L"MessageChange1", 2},
                                                          {L"MessageChange2", 3},
                                                          {L"MessageChange3", 1},
                                                          {L"MessageChange4", 2},
                                                          {L"MessageChange5", 4},
                                                          {L"MessageChange6", 4},
                                                          {L"MessageChange7", 2},
                                                          {L"MessageChange8", 3}});
    return keys;
}

const std::vector<std::wstring>& OptimizeKeys() {
    static const std::vector<std::wstring> keys = [] {
        std::vector<std::wstring> all = SharedStepKeys();
        const auto rest = Repeat({{L"MessageChange9", 3}, {L"MessageChange10", 6}});
        all.insert(all.end(), rest.begin(), rest.end());
        return all;
    }();
    return keys;
}

const std::vector<std::wstring>& RestoreKeys() {
    static const std::vector<std::wstring> keys = [] {
        std::vector<std::wstring> all = SharedStepKeys();
        const auto rest = Repeat({{L"MessageChange11", 6}});
        all.insert(all.end(), rest.begin(), rest.end());
        return all;
    }();
    return keys;
}

// Shows the run's steps; stops early when the main window is to close.
void ShowSteps(RunView& view, std::int32_t total, const wchar_t* heading,
               const std::vector<std::wstring>& keys) {
    view.SetMainEnabled(false);
    view.ShowProgress(total);
    view.SetProgressHeading(GetCaption(kSettingsFormSection, heading));
    for (const auto& key : keys) {
        if (view.CloseRequested()) {
            return;
        }
        view.ShowProgressStep(GetCaption(kSettingsFormSection, key));
    }
}

void AskToRestart(RunView& view) {
    if (view.CloseRequested()) {
        return;
    }
    const std::wstring text = GetMessageText(kMainFormSection, L"MessageBoxChangeRestart", 3);
    const int answer = view.Ask(text, view.MainTitle(), kRestartQuestionFlags);
    // A window closed while the question was open restarts nothing.
    if (answer == kIdYes && !view.CloseRequested()) {
        view.Restart();
    }
}

// After an unexpected fault the window is usable again.
void Recover(RunView& view) {
    view.SetMainEnabled(true);
    view.CloseProgress();
}

}  // namespace

void RunOptimize(RunView& view) {
    try {
        const OptimizePlan plan = StartOptimize(view.Choices());
        view.PlayClick();
        ShowSteps(view, kOptimizeStepTotal, L"MessageUpdate", OptimizeKeys());
        ApplyOptimizePlan(plan);

        view.SetMainEnabled(true);
        view.CloseProgress();
        view.SetRestoreEnabled(true);
        AskToRestart(view);
    } catch (...) {
        Recover(view);
    }
}

void RunRestore(RunView& view) {
    try {
        const TuningChoices choices = view.Choices();
        const std::wstring question = GetMessageText(kMainFormSection, L"MessageBoxReset");
        const int answer = view.Ask(question, view.MainTitle(), kRestoreQuestionFlags);
        // The main window may have been closed while the question was open:
        // then nothing is restored, whatever the answer.
        if (answer != kIdOk || view.CloseRequested()) {
            return;
        }
        view.PlayClick();
        ShowSteps(view, kRestoreStepTotal, L"MessageRestore", RestoreKeys());

        RestoreTuning(choices);

        view.SetMainEnabled(true);
        view.CloseProgress();
        view.SetRestoreEnabled(false);
        AskToRestart(view);
    } catch (...) {
        Recover(view);
    }
}

}  // namespace lumora
