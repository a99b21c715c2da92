// The optimize and restore runs step by step over the in-memory registry (or
// Wine's registry in the Windows build), with a view that records what the
// windows would show.
#include <gtest/gtest.h>

#include <array>
#include <limits>
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

// The in-memory registry as a process sees it that is ended after its first
// |limit| registry operations that change something: every later write or
// delete is refused. A stop after a read leaves the registry as a stop after
// the change before it, so only the changes are counted; each operation of
// the access layer opens one key, for writing when it changes something.
class StoppingRegistry : public RegistryBackend {
  public:
    static constexpr std::size_t kNever = std::numeric_limits<std::size_t>::max();

    void StopAfter(std::size_t limit) {
        limit_ = limit;
        changes_ = 0;
        refused_ = false;
    }
    bool Stopped() const { return refused_; }

    long OpenKey(RootKey root, const std::wstring& subKey, std::uint32_t access,
                 RegKeyHandle& key) override {
        if ((access & kSetValue) != 0 && !Admit()) {
            return reg::kAccessDenied;
        }
        return memory.OpenKey(root, subKey, access, key);
    }
    long CreateKey(RootKey root, const std::wstring& subKey, std::uint32_t access,
                   RegKeyHandle& key) override {
        return Admit() ? memory.CreateKey(root, subKey, access, key) : reg::kAccessDenied;
    }
    long QueryValue(RegKeyHandle key, const std::wstring& name, std::uint32_t* type,
                    std::uint8_t* data, std::uint32_t* size) override {
        return memory.QueryValue(key, name, type, data, size);
    }
    long SetValue(RegKeyHandle key, const std::wstring& name, std::uint32_t type,
                  const std::uint8_t* data, std::uint32_t size) override {
        return memory.SetValue(key, name, type, data, size);
    }
    long DeleteValue(RegKeyHandle key, const std::wstring& name) override {
        return memory.DeleteValue(key, name);
    }
    long CloseKey(RegKeyHandle key) override { return memory.CloseKey(key); }

    MemoryRegistry memory;

  private:
    static constexpr std::uint32_t kSetValue = 0x0002;  // KEY_SET_VALUE

    bool Admit() {
        if (changes_ >= limit_) {
            refused_ = true;
            return false;
        }
        ++changes_;
        return true;
    }
    std::size_t limit_ = kNever;
    std::size_t changes_ = 0;
    bool refused_ = false;
};

struct Value {
    std::uint32_t type;
    std::vector<std::uint8_t> data;
};
using Held = std::optional<Value>;  // nullopt: the value does not exist

Value Sz(const std::wstring& text) {
    return {reg::kSz, TextBytes(text, true)};
}
Value Dw(std::uint32_t number) {
    return {reg::kDword, DwordBytes(number)};
}

const std::wstring kInternet = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const std::wstring kTcpip = L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters";

struct Place {
    RootKey root;
    const std::wstring* path;
    const wchar_t* name;
};
const std::wstring kCrash = L"\\System\\CurrentControlSet\\Control\\CrashControl";
const std::wstring kFileSystem = L"\\System\\CurrentControlSet\\Control\\FileSystem";

// The 11 values the optimize run backs up.
const std::array<Place, 11> kBackedUp = {{
    {RootKey::CurrentUser, &kDesktop, L"MinAnimate"},
    {RootKey::LocalMachine, &kMemory, L"DisablePagingExecutive"},
    {RootKey::LocalMachine, &kMemory, L"LargeSystemCache"},
    {RootKey::LocalMachine, &kPriority, L"Win32PrioritySeparation"},
    {RootKey::LocalMachine, &kCrash, L"AutoReboot"},
    {RootKey::LocalMachine, &kFileSystem, L"NtfsDisableLastAccessupdate"},
    {RootKey::LocalMachine, &kFileSystem, L"NtfsMftZoneReservation"},
    {RootKey::CurrentUser, &kInternet, L"MaxConnectionsPerServer"},
    {RootKey::CurrentUser, &kInternet, L"MaxConnectionsPer1_0Server"},
    {RootKey::LocalMachine, &kTcpip, L"KeepAliveTime"},
    {RootKey::LocalMachine, &kTcpip, L"KeepAliveInterval"},
}};

// The 11 values before the first optimize run, and what an optimize run
// followed by a restore gives back: the value itself, or the backup default
// where it could not be read as its row's type.
struct Start {
    const char* what;
    std::array<Held, 11> before;
    std::array<Value, 11> after;
};

const Value kEmptyDword{reg::kDword, {}};
const Value kNoText = Sz(L"");

const Start kStarts[] = {
    {"values of their own",
     {Sz(L"0"), Dw(11), Dw(12), Dw(13), Dw(14), Dw(15), Dw(16), Dw(17), Dw(18), Dw(19), Dw(20)},
     {Sz(L"0"), Dw(11), Dw(12), Dw(13), Dw(14), Dw(15), Dw(16), Dw(17), Dw(18), Dw(19), Dw(20)}},
    {"all missing",
     {},
     {Sz(L"1"), Dw(0), Dw(0), Dw(2), Dw(1), Dw(1), Dw(0), Dw(2), Dw(2), Dw(7200000), Dw(1000)}},
    {"empty, of another type or missing",
     {kNoText, kEmptyDword, Dw(12), Sz(L"38"), Value{11 /* REG_QWORD */, {0, 0, 0, 0, 0, 0, 0, 0}},
      Dw(15), Value{reg::kBinary, DwordBytes(3)}, Sz(L"6"), Dw(18), Value{reg::kDword, {1, 2}},
      std::nullopt},
     {Sz(L"1"), Dw(0), Dw(12), Dw(2), Dw(1), Dw(15), Dw(0), Dw(2), Dw(18), Dw(7200000), Dw(1000)}},
    {"text for numbers, a number for the text",
     {Dw(0), kNoText, kNoText, kNoText, kNoText, kNoText, kNoText, kNoText, kNoText, kNoText,
      kNoText},
     {Sz(L"1"), Dw(0), Dw(0), Dw(2), Dw(1), Dw(1), Dw(0), Dw(2), Dw(2), Dw(7200000), Dw(1000)}},
};

enum class Cut { Optimize, Restore };
enum class Next { Restore, OptimizeThenRestore };

// Plays one case over |registry|: the start, a complete optimize run when the
// restore is the run to be ended, that run ended after |limit| changes, then
// what the user does at the next start: restore, when the flag enables the
// restore button, or optimize and then restore. Gives whether the run was
// ended before its own end, and whether the user could do |next|.
struct Played {
    bool ended;
    bool done;
};
Played Play(StoppingRegistry& registry, const Start& start, Cut cut, Next next, std::size_t limit) {
    // No caption table: the texts play no part here, and looking each one up
    // costs time.
    registry.memory.Put(pk::kRoot, pk::kPath, {pk::kLanguage, reg::kSz, TextBytes(L"none", true)});
    for (std::size_t i = 0; i < kBackedUp.size(); ++i) {
        if (start.before[i]) {
            registry.memory.Put(kBackedUp[i].root, *kBackedUp[i].path,
                                {kBackedUp[i].name, start.before[i]->type, start.before[i]->data});
        }
    }
    RecordingView view;
    view.answer = kIdOk;  // OK to the restore question, not Yes to restarting
    if (cut == Cut::Restore) {
        RunOptimize(view);
    }
    registry.StopAfter(limit);
    cut == Cut::Optimize ? RunOptimize(view) : RunRestore(view);
    const bool ended = registry.Stopped();
    registry.StopAfter(StoppingRegistry::kNever);

    if (next == Next::OptimizeThenRestore) {
        RunOptimize(view);
    } else if (!ReadRegBool(pk::kRoot, pk::kPath, pk::kRestore, false, false)) {
        return {ended, false};
    }
    RunRestore(view);
    return {ended, true};
}

// A run is ended after its N-th change to the registry, for every N up to
// the run's last, and the user goes on as the program lets them. Every
// backed-up value is back each time.
TEST(StoppedRunTest, NoOriginalIsLostWhereverARunIsEnded) {
    for (const Cut cut : {Cut::Optimize, Cut::Restore}) {
        for (const Start& start : kStarts) {
            for (const Next next : {Next::Restore, Next::OptimizeThenRestore}) {
                for (std::size_t limit = 0;; ++limit) {
                    SCOPED_TRACE(::testing::Message()
                                 << (cut == Cut::Optimize ? "optimize" : "restore")
                                 << " ended after " << limit << " changes, start: " << start.what
                                 << ", then "
                                 << (next == Next::Restore ? "restore" : "optimize, restore"));
                    StoppingRegistry registry;
                    ScopedRegistry scope(registry);
                    const Played played = Play(registry, start, cut, next, limit);
                    for (std::size_t i = 0; played.done && i < kBackedUp.size(); ++i) {
                        const Place& place = kBackedUp[i];
                        const auto got = registry.memory.Get(place.root, *place.path, place.name);
                        ASSERT_TRUE(got.has_value()) << place.name << " is missing";
                        EXPECT_EQ(got->type, start.after[i].type) << place.name;
                        EXPECT_EQ(got->data, start.after[i].data) << place.name;
                    }
                    if (HasFailure()) {
                        return;
                    }
                    if (!played.ended) {
                        // The run came to its end: every point was tried.
                        EXPECT_GT(limit, 47u);
                        break;
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace lumora
