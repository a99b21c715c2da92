// The runs' two questions: their texts as the captions make them, and a main
// window that closes while one of them is open.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/MainFormRuns.h"
#include "registry/CustomRegistry.h"
#include "registry/ProgramKey.h"
#include "tests/support/RawRegistry.h"
#include "ui/Captions.h"
#include "ui/ProgressStep.h"

namespace lumora {
namespace {

namespace pk = program_key;

const std::wstring kPriority = L"\\SYSTEM\\CurrentControlSet\\Control\\PriorityControl\\";

// A view whose questions are answered with |answers| in turn; with
// |closeWhileAsking| the window is closed while the question at that index
// is open (as the box's own message loop delivers a close request).
struct QuestionView : RunView {
    std::vector<int> answers;
    int closeWhileAsking = -1;

    std::vector<std::wstring> questions;
    int steps = 0;
    int clicks = 0;
    int restarts = 0;
    bool closed = false;

    TuningChoices Choices() override { return ChoicesFromSelection(0, 0, 0, 0); }
    std::wstring MainTitle() override { return L"Main title"; }
    void SetMainEnabled(bool) override {}
    void SetRestoreEnabled(bool) override {}
    void ShowProgress(std::int32_t) override {}
    void CloseProgress() override {}
    void SetProgressHeading(const std::wstring&) override {}
    void ShowProgressStep(const std::wstring&) override { ++steps; }
    bool CloseRequested() override { return closed; }
    int Ask(const std::wstring& text, const std::wstring&, unsigned) override {
        const int index = static_cast<int>(questions.size());
        questions.push_back(text);
        if (index == closeWhileAsking) {
            closed = true;
        }
        return index < static_cast<int>(answers.size()) ? answers[index] : 0;
    }
    void PlayClick() override { ++clicks; }
    void Restart() override { ++restarts; }
};

class RunQuestionsTest : public ::testing::Test {
  protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    void Clean() {
        raw_.DeleteTree(pk::kRoot, pk::kPath);
        DeleteRegValue(RootKey::LocalMachine, kPriority, L"Win32PrioritySeparation", false);
    }
    test::RawRegistry raw_;
};

TEST(JoinMessageTextsTest, OneEmptyLineBetweenEachTwoTextsEvenWhenOneIsEmpty) {
    const struct {
        std::vector<std::wstring> texts;
        std::wstring joined;
    } cases[] = {
        {{L"A", L"B", L"C"}, L"A\r\n\r\nB\r\n\r\nC"},
        {{L"A", L"", L"C"}, L"A\r\n\r\n\r\n\r\nC"},
        {{L"", L"B"}, L"\r\n\r\nB"},
        {{L"A", L""}, L"A\r\n\r\n"},
        {{L"", L"", L""}, L"\r\n\r\n\r\n\r\n"},
        {{L"A"}, L"A"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JoinMessageTexts(c.texts), c.joined);
    }
}

// Without a caption table every caption is empty; the questions keep their
// empty lines all the same.
TEST_F(RunQuestionsTest, QuestionsWithEmptyCaptionsKeepTheirEmptyLines) {
    raw_.Put(pk::kRoot, pk::kPath, pk::kLanguage, 1, test::TextBytes(L"nosuchlanguage", true));
    QuestionView view;
    view.answers = {kIdOk, 7};
    RunRestore(view);
    ASSERT_EQ(view.questions.size(), 2u);
    EXPECT_EQ(view.questions[0], L"\r\n\r\n");
    EXPECT_EQ(view.questions[1], L"\r\n\r\n\r\n\r\n");
}

TEST_F(RunQuestionsTest, ARestoreConfirmationOpenWhenTheWindowClosesRestoresNothing) {
    QuestionView optimize;
    optimize.answers = {7};
    RunOptimize(optimize);
    const auto copy = raw_.Get(pk::kRoot, pk::kPath, L"Win32PrioritySeparation");
    const auto tuned = raw_.Get(RootKey::LocalMachine, kPriority, L"Win32PrioritySeparation");
    ASSERT_TRUE(copy.has_value());
    ASSERT_TRUE(tuned.has_value());

    for (int answer : {kIdOk, 0}) {
        SCOPED_TRACE(answer);
        QuestionView view;
        view.answers = {answer, kIdYes};
        view.closeWhileAsking = 0;
        RunRestore(view);
        EXPECT_EQ(view.questions.size(), 1u);
        EXPECT_EQ(view.clicks, 0);
        EXPECT_EQ(view.steps, 0);
        EXPECT_EQ(view.restarts, 0);
        EXPECT_TRUE(ReadRegBool(pk::kRoot, pk::kPath, pk::kRestore, false, false));
        EXPECT_EQ(raw_.Get(pk::kRoot, pk::kPath, L"Win32PrioritySeparation")->data, copy->data);
        EXPECT_EQ(raw_.Get(RootKey::LocalMachine, kPriority, L"Win32PrioritySeparation")->data,
                  tuned->data);
    }
}

TEST_F(RunQuestionsTest, ARestartQuestionOpenWhenTheWindowClosesRestartsNothing) {
    QuestionView optimize;
    optimize.answers = {kIdYes};
    optimize.closeWhileAsking = 0;
    RunOptimize(optimize);
    EXPECT_EQ(optimize.questions.size(), 1u);
    EXPECT_EQ(optimize.restarts, 0);
    EXPECT_TRUE(ReadRegBool(pk::kRoot, pk::kPath, pk::kRestore, false, false));

    QuestionView restore;
    restore.answers = {kIdOk, kIdYes};
    restore.closeWhileAsking = 1;
    RunRestore(restore);
    EXPECT_EQ(restore.questions.size(), 2u);
    EXPECT_EQ(restore.restarts, 0);
    EXPECT_FALSE(ReadRegBool(pk::kRoot, pk::kPath, pk::kRestore, false, false));
}

}  // namespace
}  // namespace lumora
