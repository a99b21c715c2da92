// Shell requests and the help control under Wine: programs started through
// the shell record their arguments; help goes to stand-in controls that
// record their calls, or to the system's control from the system folder.
// The desktop's shell, which opens what an elevated program opens with the
// user's rights, starts a recorder of its own.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/SystemLibrary.h"
#include "platform/DesktopShell_win.h"
#include "platform/HelpControl.h"
#include "platform/Shell.h"
#include "platform/ShellAddresses.h"
#include "platform/Shell_win.h"
#include "tests/platform/helpers/HelpStandIn.h"
#include "tests/support/Process.h"
#include "tests/support/Wine.h"

namespace lumora {
namespace {

using test::TestFolder;

std::wstring ModulePath(HMODULE module) {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(module, path, MAX_PATH);
    return std::wstring(path, n);
}

bool StartsWithNoCase(const std::wstring& text, const std::wstring& prefix) {
    return text.size() >= prefix.size() &&
           CompareStringOrdinal(text.c_str(), static_cast<int>(prefix.size()), prefix.c_str(),
                                static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
}

using Args = std::vector<std::wstring>;

// The major version of the running Windows.
std::uint32_t RunningMajorVersion() {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    return GetVersionExW(&version) ? version.dwMajorVersion : 0;
}

// The recorder (tests/support/Recorder_win.cpp) in a folder of its own below
// TEMP, which the user's own programs may write to. What the desktop's shell
// starts inherits the shell's environment, not this test's, and runs outside
// its jobs: the recorder appends each command line it is started with to a
// log next to itself. The folder's and the recorder's names have blanks,
// which every request has to quote.
class RecorderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"lumora shell test " +
                  std::to_wstring(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(folder_.c_str(), nullptr);
        recorder_ = Copy(folder_ + L"user rights recorder.exe");
    }
    void TearDown() override {
        for (const std::wstring& copy : copies_) {
            // A recorder may still be ending.
            for (int i = 0; i < 50 && !DeleteFileW(copy.c_str()) &&
                            GetFileAttributesW(copy.c_str()) != INVALID_FILE_ATTRIBUTES;
                 ++i) {
                Sleep(100);
            }
            DeleteFileW((copy + L".log").c_str());
            DeleteFileW((copy + L".token").c_str());
        }
        for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder) {
            RemoveDirectoryW(folder->c_str());
        }
        RemoveDirectoryW(folder_.c_str());
    }
    // A fresh copy of the recorder at |path|, in a folder that is made.
    std::wstring Copy(const std::wstring& path) {
        const std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
        if (CreateDirectoryW(folder.c_str(), nullptr)) {
            folders_.push_back(folder);
        }
        copies_.push_back(path);
        DeleteFileW((path + L".log").c_str());
        DeleteFileW((path + L".token").c_str());
        EXPECT_TRUE(CopyFileW((TestFolder() + L"recorder.exe").c_str(), path.c_str(), FALSE));
        return path;
    }
    const std::wstring& Folder() const { return folder_; }
    const std::wstring& Recorder() const { return recorder_; }

    // The arguments of each start of |program| (a copy of the recorder) so
    // far, in order.
    static std::vector<Args> Starts(const std::wstring& program) {
        std::vector<Args> starts;
        HANDLE file =
            CreateFileW((program + L".log").c_str(), GENERIC_READ,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return starts;
        }
        std::wstring text(32768, L'\0');
        DWORD got = 0;
        ReadFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &got,
                 nullptr);
        CloseHandle(file);
        text.resize(got / sizeof(wchar_t));
        for (std::size_t at = 0, end; (end = text.find(L"\r\n", at)) != std::wstring::npos;
             at = end + 2) {
            int count = 0;
            wchar_t** argv = CommandLineToArgvW(text.substr(at, end - at).c_str(), &count);
            Args arguments;
            for (int i = 1; argv != nullptr && i < count; ++i) {
                arguments.emplace_back(argv[i]);
            }
            LocalFree(argv);
            starts.push_back(arguments);
        }
        return starts;
    }
    // The arguments of |program|'s next start, once it has written them;
    // every start is taken in turn, so one that comes late or twice shows.
    Args Recorded(const std::wstring& program) {
        std::size_t& seen = seen_[program];
        std::vector<Args> starts;
        if (!test::WaitUntil([&] { return (starts = Starts(program)).size() > seen; })) {
            return {L"<not started>"};
        }
        return starts[seen++];
    }
    Args Recorded() { return Recorded(recorder_); }
    // Every start of |program| was taken.
    void ExpectNoFurtherStart(const std::wstring& program) {
        EXPECT_EQ(Starts(program).size(), seen_[program]) << "started more often than asked";
    }

  private:
    std::wstring folder_;
    std::wstring recorder_;
    std::vector<std::wstring> copies_;
    std::vector<std::wstring> folders_;
    std::map<std::wstring, std::size_t> seen_;
};

// Whether the desktop's shell is there at all: a desktop without Explorer
// has none, which is no fault; a refusal further on is.
bool NoDesktopShell(DesktopShellStep step) {
    return step == DesktopShellStep::ShellWindows || step == DesktopShellStep::FindDesktop;
}

std::string ShellRefusal(DesktopShellStep step) {
    return std::string("the desktop's shell refused at ") + DesktopShellStepName(step);
}

// Why the shell way cannot be tested on this desktop. Known Wine gap: in the
// session that makes a fresh prefix (the test kit's), Wine's desktop shell
// offers no shell windows, though it does in every later session.
std::string NoDesktopShellReason(DesktopShellStep step) {
    return (test::RunningUnderWine()
                ? std::string("Wine's desktop shell offers no shell windows in this session (")
                : std::string("no desktop shell on this desktop (")) +
           ShellRefusal(step) + ")";
}

// A job that holds this test process and what it starts itself, made once:
// before Windows 8 a process goes into one job only. What the desktop's shell
// starts runs outside it.
HANDLE TestJob() {
    static const HANDLE job = [] {
        HANDLE made = CreateJobObjectW(nullptr, nullptr);
        if (made != nullptr && !AssignProcessToJobObject(made, GetCurrentProcess())) {
            CloseHandle(made);
            made = nullptr;
        }
        return made;
    }();
    return job;
}

// The processes this test process has started itself so far.
DWORD StartedHereSoFar() {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
    QueryInformationJobObject(TestJob(), JobObjectBasicAccountingInformation, &info, sizeof(info),
                              nullptr);
    return info.TotalProcesses;
}

// Each request both ways: by this process itself, as with a token that is
// not split, and by the desktop's shell, as from the elevated half of a split
// token. The shell has created a process by the time its request returns, so
// once a recorder has written its record, the job's count tells who started
// it.
class ShellStart : public RecorderTest, public ::testing::WithParamInterface<TokenElevation> {
  protected:
    void SetUp() override {
        RecorderTest::SetUp();
        ASSERT_NE(TestJob(), nullptr);
        SetShellRequestElevation(GetParam());
        if (GetParam() == TokenElevation::Full) {
            const DesktopShellStep step = OpenThroughDesktopShell(Recorder(), L"probe");
            if (NoDesktopShell(step)) {
                GTEST_SKIP() << NoDesktopShellReason(step)
                             << ": the requests open as in the ThisProcess tests";
            }
            ASSERT_EQ(step, DesktopShellStep::Opened) << ShellRefusal(step);
            ASSERT_EQ(Recorded(), Args{L"probe"});
        }
        startedBefore_ = StartedHereSoFar();
    }
    void TearDown() override {
        SetShellRequestElevation(std::nullopt);
        SetShellOwnerWindow(nullptr);
        RecorderTest::TearDown();
    }
    bool ThroughDesktopShell() const { return GetParam() == TokenElevation::Full; }
    // |requests| started a program each, and each was started by the way
    // the test asks for.
    void ExpectStartedHere(DWORD requests) const {
        EXPECT_EQ(StartedHereSoFar() - startedBefore_, ThroughDesktopShell() ? 0 : requests)
            << (ThroughDesktopShell() ? "this process started what the desktop's shell was to"
                                      : "not started by this process");
    }

  private:
    DWORD startedBefore_ = 0;
};

std::string WayName(const testing::TestParamInfo<TokenElevation>& info) {
    return info.param == TokenElevation::Full ? "DesktopShell" : "ThisProcess";
}

TEST_P(ShellStart, StartedProgramsGetExactlyTheParameters) {
    struct Case {
        const wchar_t* parameters;
        Args expected;
    };
    const Case cases[] = {
        {L"", {}},
        {L"/checkupdate", {L"/checkupdate"}},
        {L"a \"b c\"", {L"a", L"b c"}},
    };
    for (const Case& c : cases) {
        ExecuteFileDetached(Recorder(), c.parameters);
        EXPECT_EQ(Recorded(), c.expected)
            << "parameters: " << std::string(c.parameters, c.parameters + wcslen(c.parameters));
    }
    ExpectNoFurtherStart(Recorder());
    ExpectStartedHere(3);
}

TEST_P(ShellStart, ProgramInAFolderWithSpaces) {
    const std::wstring copy = Copy(Folder() + L"Program Files Copy\\args recorder.exe");
    ExecuteFileDetached(copy, L"/checkupdate");
    EXPECT_EQ(Recorded(copy), Args{L"/checkupdate"});
    ExpectStartedHere(1);
}

TEST_P(ShellStart, OwnedRequestsStartTheSameWithAndWithoutAnOwner) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    for (const HWND window : {owner, HWND{}}) {
        SetShellOwnerWindow(window);
        ExecuteFile(Recorder(), L"x");
        EXPECT_EQ(Recorded(), Args{L"x"});
        // OpenUrl passes no parameters.
        OpenUrl(Recorder());
        EXPECT_EQ(Recorded(), Args{});
    }
    ExpectNoFurtherStart(Recorder());
    ExpectStartedHere(4);
    DestroyWindow(owner);
}

// The program's own second instance keeps the program's rights whatever its
// token: this process starts it itself, inside this test's job.
TEST_P(ShellStart, TheSecondInstanceKeepsTheProgramsRights) {
    const DWORD before = StartedHereSoFar();
    ExecuteFileDetachedKeepingRights(Recorder(), L"/checkupdate");
    EXPECT_EQ(Recorded(), Args{L"/checkupdate"});
    EXPECT_EQ(StartedHereSoFar() - before, 1u) << "not started by this process";
}

INSTANTIATE_TEST_SUITE_P(Ways, ShellStart,
                         ::testing::Values(TokenElevation::Default, TokenElevation::Full), WayName);

BOOL CALLBACK CountVisibleWindow(HWND window, LPARAM lParam) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == GetCurrentProcessId() && IsWindowVisible(window)) {
        ++*reinterpret_cast<int*>(lParam);
    }
    return TRUE;
}

// The visible top-level windows of this process.
int VisibleWindowsOfThisProcess() {
    int windows = 0;
    EnumWindows(CountVisibleWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// A visible top-level window of any process whose title holds |text|.
BOOL CALLBACK FindTitleHolding(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<std::pair<std::wstring, bool>*>(lParam);
    wchar_t title[512] = {};
    GetWindowTextW(window, title, 512);
    if (IsWindowVisible(window) && std::wstring(title).find(search->first) != std::wstring::npos) {
        search->second = true;
        return FALSE;
    }
    return TRUE;
}

bool WindowTitledWith(const std::wstring& text) {
    std::pair<std::wstring, bool> search{text, false};
    EnumWindows(FindTitleHolding, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

// Missing and empty targets start nothing (an empty file would have the
// shell open the current folder) and show nothing. Once the recorder,
// started last, has written its record, the job's count tells whether this
// process started anything else; what the desktop's shell starts runs
// outside the job, and there the recorder's log alone tells.
class ShellNothing : public ShellStart {
  protected:
    void ExpectNothingStartedBy(const std::function<void()>& requests) {
        const int windowsBefore = VisibleWindowsOfThisProcess();
        requests();
        EXPECT_EQ(VisibleWindowsOfThisProcess(), windowsBefore) << "a message was shown";

        ExecuteFileDetached(Recorder(), L"last");
        EXPECT_EQ(Recorded(), Args{L"last"});
        ExpectNoFurtherStart(Recorder());
        ExpectStartedHere(1);
    }
};

TEST_P(ShellNothing, MissingTargetsDoNothing) {
    ExpectNothingStartedBy([] {
        const std::wstring missing = TestFolder() + L"NoSuchProgram.exe";
        ExecuteFileDetached(missing, L"");
        ExecuteFile(missing, L"/x");
        OpenUrl(TestFolder() + L"NoSuch.rtf");
    });
}

// Windows' shell opens the current folder for an empty file; Wine's opens
// nothing, so only Windows shows the guard at work. The folder window
// belongs to the desktop's shell process, not to this one: the test looks
// for a window titled with the current folder's own name as well, for a
// bounded while after the last request, since nothing ends its wait sooner.
TEST_P(ShellNothing, EmptyTargetsStartNothing) {
    if (test::RunningUnderWine()) {
        GTEST_SKIP() << "Wine's shell opens nothing for an empty target by itself: "
                        "the guard shows on Windows only";
    }
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring name = L"lumora-empty-target-" + std::to_wstring(GetCurrentProcessId());
    const std::wstring folder = std::wstring(temp) + name;
    CreateDirectoryW(folder.c_str(), nullptr);
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.c_str()));
    ExpectNothingStartedBy([] {
        ExecuteFileDetached(L"", L"");
        ExecuteFile(L"", L"/x");
        OpenUrl(L"");
    });
    EXPECT_FALSE(test::WaitUntil([&name] { return WindowTitledWith(name); }, 5000))
        << "the shell opened the current folder";
    SetCurrentDirectoryW(current);
    RemoveDirectoryW(folder.c_str());
}

INSTANTIATE_TEST_SUITE_P(Ways, ShellNothing,
                         ::testing::Values(TokenElevation::Default, TokenElevation::Full), WayName);

using DesktopShell = RecorderTest;

// The whole way through the desktop's shell (Wine's offers every step of
// it), and the choice that takes it for an elevated program from Vista on
// only, on the same desktop.
TEST_F(DesktopShell, TakesTheRequestOfAnElevatedProgramFromVistaOn) {
    const DesktopShellStep step = OpenThroughDesktopShell(Recorder(), L"a \"b c\"");
    if (NoDesktopShell(step)) {
        GTEST_SKIP() << NoDesktopShellReason(step);
    }
    ASSERT_EQ(step, DesktopShellStep::Opened) << ShellRefusal(step);
    EXPECT_EQ(Recorded(), (Args{L"a", L"b c"}));

    const struct {
        std::uint32_t major;
        TokenElevation elevation;
        OpenWay way;
    } cases[] = {
        {6, TokenElevation::Full, OpenWay::DesktopShell},
        {10, TokenElevation::Full, OpenWay::DesktopShell},
        {5, TokenElevation::Full, OpenWay::ThisProcess},
        {10, TokenElevation::Default, OpenWay::ThisProcess},
        {10, TokenElevation::Limited, OpenWay::ThisProcess},
    };
    for (const auto& c : cases) {
        const std::wstring parameters = L"/version " + std::to_wstring(c.major);
        EXPECT_EQ(OpenWithUserRightsAs(c.major, c.elevation, nullptr, Recorder(), parameters),
                  c.way)
            << "Windows " << c.major << ", elevation " << static_cast<int>(c.elevation);
        EXPECT_EQ(Recorded(), (Args{L"/version", std::to_wstring(c.major)}));
    }
    ExpectNoFurtherStart(Recorder());
}

// On Windows with UAC, where the tests run as administrator in the elevated
// half of a split token, what the program opens runs with the user's rights:
// the recorder, opened as a page is, finds its own token not elevated.
TEST_F(DesktopShell, PagesOfAnElevatedProgramOpenWithoutElevation) {
    if (test::RunningUnderWine()) {
        GTEST_SKIP() << "Wine gives every program the elevated token, its desktop shell's "
                        "included, without a split token: there is no user's token to open with";
    }
    if (ProcessTokenElevation() != TokenElevation::Full) {
        GTEST_SKIP() << "this Windows gave the tests no split token (UAC off, the built-in "
                        "Administrator, or not run as administrator): the program opens "
                        "everything itself, as before Vista";
    }
    const DesktopShellStep step = OpenThroughDesktopShell(Recorder(), L"probe");
    if (NoDesktopShell(step)) {
        GTEST_SKIP() << "no desktop shell on this desktop: " << ShellRefusal(step);
    }
    ASSERT_EQ(step, DesktopShellStep::Opened) << ShellRefusal(step);
    ASSERT_EQ(Recorded(), Args{L"probe"});

    const std::wstring tokenRecord = Recorder() + L".token";
    HANDLE record = CreateFileW(tokenRecord.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(record, INVALID_HANDLE_VALUE);
    CloseHandle(record);
    OpenUrl(Recorder());
    ASSERT_EQ(Recorded(), Args{});
    char text[128] = {};
    DWORD got = 0;
    record = CreateFileW(tokenRecord.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(record, INVALID_HANDLE_VALUE);
    ReadFile(record, text, sizeof(text) - 1, &got, nullptr);
    CloseHandle(record);
    EXPECT_EQ(std::string(text, got), "TokenElevationType=3 TokenElevation=0")
        << "type 3: the filtered half of the user's split token; elevation 0: not elevated";
}

// Where Windows knows elevation (Vista on, and Wine), the program reads its
// token's; Windows 2000 and XP answer Unknown.
TEST(ShellRights, TheTokensElevationIsKnownFromVistaOn) {
    if (RunningMajorVersion() < 6) {
        GTEST_SKIP() << "Windows before Vista knows no elevation";
    }
    EXPECT_NE(ProcessTokenElevation(), TokenElevation::Unknown);
    if (test::RunningUnderWine()) {
        EXPECT_EQ(ProcessTokenElevation(), TokenElevation::Full)
            << "Wine gives every program the elevated token";
    }
}

TEST(Shell, ProgramFolderIsTheRunningExecutablesFolder) {
    EXPECT_EQ(ProgramFolder(), TestFolder());
    EXPECT_EQ(ProgramFolder().back(), L'\\');
}

// Stand-in help controls copied under names of their own, so that each test
// loads its own module. A copy that stays loaded cannot be deleted until the
// test ends; the next run deletes it first.
class HelpControlTest : public ::testing::Test {
  protected:
    void TearDown() override {
        for (const std::wstring& file : copies_) {
            DeleteFileW(file.c_str());
        }
    }
    std::wstring Copy(const wchar_t* standIn, const std::wstring& target) {
        copies_.push_back(target);
        EXPECT_TRUE(CopyFileW((TestFolder() + standIn).c_str(), target.c_str(), FALSE));
        return target;
    }
    static std::wstring TempFile(const wchar_t* name) {
        wchar_t folder[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, folder);
        const std::wstring path = std::wstring(folder) + name;
        DeleteFileW(path.c_str());
        return path;
    }
    static const HelpStandInCall* CallsOf(const std::wstring& path) {
        HMODULE module = GetModuleHandleW(path.c_str());
        if (module == nullptr) {
            return nullptr;
        }
        auto last = reinterpret_cast<HelpStandInLastCall>(
            reinterpret_cast<void*>(GetProcAddress(module, "StandInLastCall")));
        return last != nullptr ? last() : nullptr;
    }
    static std::function<HMODULE()> LoaderOf(const std::wstring& path, int& loads) {
        return [path, &loads] {
            ++loads;
            return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        };
    }
    std::vector<std::wstring> copies_;
};

TEST_F(HelpControlTest, LoadedOnFirstRequestKeptAndCalledWithTheTopic) {
    const std::wstring path = TempFile(L"lumora-help-retry.ocx");
    int loads = 0;
    HelpControl control(LoaderOf(path, loads));
    EXPECT_EQ(loads, 0) << "nothing is loaded before the first request";

    // Absent: every request does nothing and tries again.
    control.DisplayTopic(L"first");
    control.DisplayTopic(L"second");
    EXPECT_EQ(loads, 2);
    EXPECT_FALSE(control.Loaded());

    Copy(L"help_standin.dll", path);
    control.DisplayTopic(HelpAddress(L"C:\\Lumora\\", kHelpFileName, kHelpTopic));
    EXPECT_EQ(loads, 3);
    ASSERT_TRUE(control.Loaded());
    const HelpStandInCall* call = CallsOf(path);
    ASSERT_NE(call, nullptr);
    EXPECT_EQ(call->count, 1);
    EXPECT_EQ(call->caller, GetDesktopWindow());
    EXPECT_EQ(std::wstring(call->address), L"C:\\Lumora\\Lumora.chm::/html/main.htm>HelpWindow");
    EXPECT_EQ(call->command, 0u) << "HH_DISPLAY_TOPIC";
    EXPECT_EQ(call->data, 0u);

    control.DisplayTopic(L"again");
    EXPECT_EQ(loads, 3) << "the control is kept";
    EXPECT_EQ(call->count, 2);
    EXPECT_EQ(std::wstring(call->address), L"again");
}

TEST_F(HelpControlTest, ControlWithoutBothEntriesIsNeverCalled) {
    const std::wstring path =
        Copy(L"help_standin_wide_only.dll", TempFile(L"lumora-help-wide-only.ocx"));
    int loads = 0;
    HelpControl control(LoaderOf(path, loads));
    control.DisplayTopic(L"topic");
    control.DisplayTopic(L"topic");
    EXPECT_TRUE(control.Loaded());
    EXPECT_EQ(loads, 1);
    const HelpStandInCall* call = CallsOf(path);
    ASSERT_NE(call, nullptr);
    EXPECT_EQ(call->count, 0);
}

// An "hhctrl.ocx" planted next to the program and in the current folder is
// never loaded: the system's control comes from the system folder.
TEST_F(HelpControlTest, PlantedControlIsNotLoaded) {
    ASSERT_EQ(GetModuleHandleW(L"hhctrl.ocx"), nullptr) << "loaded before the test";
    Copy(L"help_standin.dll", TestFolder() + L"hhctrl.ocx");
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    Copy(L"help_standin.dll", std::wstring(current) + L"\\hhctrl.ocx");

    // A help file that is not there: the request does nothing visible.
    ShowHelpTopic(L"NoSuchHelp.chm", kHelpTopic);
    ShowHelpTopic(L"NoSuchHelp.chm", kHelpTopic);

    const HMODULE loaded = GetModuleHandleW(L"hhctrl.ocx");
    ASSERT_NE(loaded, nullptr) << "the system's help control was not loaded";
    EXPECT_TRUE(StartsWithNoCase(ModulePath(loaded), SystemFolder())) << ModulePath(loaded);
    EXPECT_EQ(GetProcAddress(loaded, "StandInLastCall"), nullptr);
}

}  // namespace
}  // namespace lumora
