// The optimize and restore runs step by step over the in-memory registry (or
// Wine's registry in the Windows build), with a view that records what the
// windows would show.
#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <vector>

#include "app/MainFormRuns.h"
#include "registry/CustomRegistry.h"
#include "registry/MemoryRegistry.h"
#include "registry/ProgramKey.h"
#include "tests/support/RawRegistry.h"
#include "ui/ProgressStep.h"

namespace lumora {
namespace {

namespace pk = program_key;
using test::DwordBytes;
using test::TextBytes;

const std::wstring kDesktop = L"\\Control Panel\\Desktop\\WindowMetrics\\";
const std::wstring kMemory =
    L"\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management\\";
const std::wstring kPriority = L"\\SYSTEM\\CurrentControlSet\\Control\\PriorityControl\\";

struct RecordingView : RunView {
    std::int32_t windowsItem = 0;  // Windows 10
    std::int32_t processorItem = 0;
    std::int32_t connectionType = 0;  // Cable | DSL | Wi-Fi
    std::int32_t speed = 0;
    int answer = kIdYes;
    int failAtStep = -1;   // ShowProgressStep raises at this step
    int closeAtStep = -1;  // the window is asked to close at this step

    bool mainEnabled = true;
    bool restoreEnabled = false;
    bool progressVisible = false;
    ProgressState progress;  // the dialog's step counter
    std::vector<std::wstring> headings;
    std::vector<std::wstring> steps;
    std::vector<int> bars;
    struct Question {
        std::wstring text;
        std::wstring title;
        unsigned flags;
    };
    std::vector<Question> questions;
    int clicks = 0;
    int restarts = 0;
    bool closeRequested = false;

    TuningChoices Choices() override {
        return ChoicesFromSelection(windowsItem, processorItem, connectionType, speed);
    }
    std::wstring MainTitle() override { return L"Main title"; }
    void SetMainEnabled(bool enabled) override { mainEnabled = enabled; }
    void SetRestoreEnabled(bool enabled) override { restoreEnabled = enabled; }
    void ShowProgress(std::int32_t stepTotal) override {
        progressVisible = true;
        progress = {stepTotal, 0};
    }
    void CloseProgress() override { progressVisible = false; }
    void SetProgressHeading(const std::wstring& text) override { headings.push_back(text); }
    void ShowProgressStep(const std::wstring& text) override {
        EXPECT_FALSE(mainEnabled);
        EXPECT_TRUE(progressVisible);
        if (static_cast<int>(steps.size()) == failAtStep) {
            throw std::runtime_error("step failed");
        }
        if (static_cast<int>(steps.size()) == closeAtStep) {
            closeRequested = true;
        }
        steps.push_back(text);
        ProgressStepActions actions;
        actions.pump = [] {};
        actions.setLabel = [](const std::wstring&) {};
        actions.pause = [](std::uint32_t) {};
        actions.setBar = [this](int percent) { bars.push_back(percent); };
        RunProgressStep(text, kTestBuildTimings.minimumPasses, kTestBuildTimings, progress,
                        actions);
    }
    bool CloseRequested() override { return closeRequested; }
    int Ask(const std::wstring& text, const std::wstring& title, unsigned flags) override {
        questions.push_back({text, title, flags});
        return answer;
    }
    void PlayClick() override { ++clicks; }
    void Restart() override { ++restarts; }
};

class RunsTest : public ::testing::Test {
  protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    // The program key goes, and the tuned values the tests look at start
    // out missing (Wine's own registry has some of them).
    void Clean() {
        raw_.DeleteTree(pk::kRoot, pk::kPath);
        DeleteRegValue(RootKey::CurrentUser, kDesktop, L"MinAnimate", false);
        DeleteRegValue(RootKey::LocalMachine, kPriority, L"Win32PrioritySeparation", false);
    }
    std::optional<RegValue> Get(RootKey root, const std::wstring& path, const wchar_t* name) {
        return raw_.Get(root, path, name);
    }
    bool FlagSet() { return ReadRegBool(pk::kRoot, pk::kPath, pk::kRestore, false, false); }
    test::RawRegistry raw_;
};

const std::wstring kRestartText =
    L"The changes to the computer's system and internet performance settings have finished."
    L"\r\n\r\nYou will need to restart Windows for the changes to become active.\r\n\r\n"
    L"Click Yes to restart the computer now, or click No to restart later.";

TEST_F(RunsTest, OptimizeShowsItsStepsThenWritesAndAsks) {
    RecordingView view;
    view.connectionType = 3;
    view.processorItem = 1;
    view.speed = 1;
    view.answer = 7;  // No
    RunOptimize(view);

    EXPECT_EQ(view.clicks, 1);
    EXPECT_EQ(view.headings,
              std::vector<std::wstring>{L"Optimizing the computer's system and internet settings"});
    ASSERT_EQ(view.steps.size(), 32u);
    EXPECT_EQ(view.steps.front(), L"Finding modem information");
    EXPECT_EQ(view.steps[7], L"Finding hardware adapters");
    EXPECT_EQ(view.steps[23], L"Backing up system and internet settings");
    EXPECT_EQ(view.steps.back(), L"Writing new system and internet settings");
    EXPECT_EQ(view.bars.front(), 3);
    EXPECT_EQ(view.bars.back(), 97);
    EXPECT_TRUE(view.mainEnabled);
    EXPECT_FALSE(view.progressVisible);
    EXPECT_TRUE(view.restoreEnabled);
    ASSERT_EQ(view.questions.size(), 1u);
    EXPECT_EQ(view.questions[0].text, kRestartText);
    EXPECT_EQ(view.questions[0].title, L"Main title");
    EXPECT_EQ(view.questions[0].flags, 0x134u);
    EXPECT_EQ(view.restarts, 0);

    EXPECT_EQ(ReadRegInteger(pk::kRoot, pk::kPath, pk::kInternetType, -9, false), 3);
    EXPECT_EQ(ReadRegInteger(pk::kRoot, pk::kPath, pk::kProcessorType, -9, false), 1);
    EXPECT_EQ(ReadRegInteger(pk::kRoot, pk::kPath, pk::kSpeedSetting, -9, false), 1);
    EXPECT_TRUE(FlagSet());
    // A copy of a value that did not exist holds its backup default.
    EXPECT_EQ(ReadRegInteger(pk::kRoot, pk::kPath, L"Win32PrioritySeparation", -9, false), 2);
    EXPECT_EQ(ReadRegString(pk::kRoot, pk::kPath, L"MinAnimate", L"", false), L"1");

    view.answer = kIdYes;
    RunOptimize(view);
    EXPECT_EQ(view.restarts, 1);
}

TEST_F(RunsTest, ASecondOptimizeKeepsTheFirstCopies) {
    raw_.Put(RootKey::LocalMachine, kPriority, L"Win32PrioritySeparation", 4, DwordBytes(26));
    RecordingView view;
    view.answer = 7;
    RunOptimize(view);
    EXPECT_EQ(ReadRegInteger(pk::kRoot, pk::kPath, L"Win32PrioritySeparation", -9, false), 26);
    // The user changes the tuned value by hand; the copy stays.
    raw_.Put(RootKey::LocalMachine, kPriority, L"Win32PrioritySeparation", 4, DwordBytes(99));
    RunOptimize(view);
    EXPECT_EQ(ReadRegInteger(pk::kRoot, pk::kPath, L"Win32PrioritySeparation", -9, false), 26);
}

TEST_F(RunsTest, AnOptimizeEndedDuringItsStepsLosesNoOriginal) {
    raw_.Put(RootKey::LocalMachine, kPriority, L"Win32PrioritySeparation", 4, DwordBytes(26));
    RecordingView interrupted;
    interrupted.failAtStep = 10;
    RunOptimize(interrupted);
    EXPECT_FALSE(FlagSet()) << "no flag without its copies";
    EXPECT_TRUE(interrupted.mainEnabled);
    EXPECT_FALSE(interrupted.progressVisible);
    EXPECT_TRUE(interrupted.questions.empty());

    RecordingView next;
    next.answer = 7;
    RunOptimize(next);
    EXPECT_EQ(ReadRegInteger(pk::kRoot, pk::kPath, L"Win32PrioritySeparation", -9, false), 26);

    next.answer = kIdOk;
    RunRestore(next);
    EXPECT_EQ(
        ReadRegInteger(RootKey::LocalMachine, kPriority, L"Win32PrioritySeparation", -9, false),
        26);
}

TEST_F(RunsTest, RestoreCancelledChangesNothing) {
    RecordingView view;
    view.answer = 7;
    RunOptimize(view);
    const auto before = raw_.Get(RootKey::LocalMachine, kPriority, L"Win32PrioritySeparation");
    view = RecordingView{};
    view.restoreEnabled = true;
    view.answer = 2;  // Cancel
    RunRestore(view);
    EXPECT_EQ(view.clicks, 0);
    EXPECT_TRUE(view.steps.empty());
    EXPECT_TRUE(view.restoreEnabled);
    EXPECT_TRUE(FlagSet());
    ASSERT_EQ(view.questions.size(), 1u);
    EXPECT_EQ(view.questions[0].text,
              L"This will restore all changes made to the computer's system and internet "
              L"settings to their original recommended values.\r\n\r\nClick OK to continue.");
    EXPECT_EQ(view.questions[0].flags, 0x31u);
    EXPECT_EQ(raw_.Get(RootKey::LocalMachine, kPriority, L"Win32PrioritySeparation")->data,
              before->data);
}

TEST_F(RunsTest, RestoreShowsItsStepsWritesBackAndAsks) {
    RecordingView view;
    view.answer = 7;
    RunOptimize(view);
    view = RecordingView{};
    view.restoreEnabled = true;
    view.answer = kIdOk;
    RunRestore(view);
    EXPECT_EQ(view.clicks, 1);
    EXPECT_EQ(view.headings,
              std::vector<std::wstring>{L"Restoring the computer's system and internet settings"});
    ASSERT_EQ(view.steps.size(), 29u);
    EXPECT_EQ(view.steps.back(), L"Restoring system and internet settings");
    EXPECT_EQ(view.bars.back(), 100);
    EXPECT_FALSE(view.restoreEnabled);
    EXPECT_TRUE(view.mainEnabled);
    ASSERT_EQ(view.questions.size(), 2u);
    EXPECT_EQ(view.questions[1].text, kRestartText);
    EXPECT_FALSE(FlagSet());
    EXPECT_FALSE(raw_.Get(pk::kRoot, pk::kPath, L"Win32PrioritySeparation").has_value());
    EXPECT_EQ(
        ReadRegInteger(RootKey::LocalMachine, kPriority, L"Win32PrioritySeparation", -9, false), 2);
}

TEST_F(RunsTest, ARestoreEndedDuringItsStepsKeepsFlagAndCopiesTogether) {
    raw_.Put(RootKey::LocalMachine, kPriority, L"Win32PrioritySeparation", 4, DwordBytes(26));
    RecordingView view;
    view.answer = 7;
    RunOptimize(view);
    RecordingView interrupted;
    interrupted.answer = kIdOk;
    interrupted.failAtStep = 5;
    RunRestore(interrupted);
    EXPECT_TRUE(FlagSet());
    EXPECT_EQ(ReadRegInteger(pk::kRoot, pk::kPath, L"Win32PrioritySeparation", -9, false), 26);
    // The next optimize takes no fresh copies of the tuned values.
    RunOptimize(view);
    EXPECT_EQ(ReadRegInteger(pk::kRoot, pk::kPath, L"Win32PrioritySeparation", -9, false), 26);
}

TEST_F(RunsTest, AskedToCloseTheRunFinishesItsRegistryWorkAndAsksNothing) {
    RecordingView view;
    view.closeAtStep = 4;
    RunOptimize(view);
    EXPECT_EQ(view.steps.size(), 5u);
    EXPECT_TRUE(view.questions.empty());
    EXPECT_TRUE(FlagSet());
    EXPECT_EQ(
        ReadRegInteger(RootKey::LocalMachine, kPriority, L"Win32PrioritySeparation", -9, false), 1);
}

}  // namespace
}  // namespace lumora
