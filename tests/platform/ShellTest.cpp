// Shell requests and the help control under Wine: programs started through
// the shell record their arguments; help goes to stand-in controls that
// record their calls, or to the system's control from the system folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "common/SystemLibrary.h"
#include "platform/HelpControl.h"
#include "platform/Shell.h"
#include "platform/ShellAddresses.h"
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

// The arguments the recorder was started with, once it has written them.
std::vector<std::wstring> WaitForRecord(const std::wstring& record, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetFileAttributesW(record.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount() - start > timeoutMs) {
            return {L"<not started>"};
        }
        Sleep(50);
    }
    HANDLE file = CreateFileW(record.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    std::wstring text(4096, L'\0');
    DWORD got = 0;
    ReadFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &got, nullptr);
    CloseHandle(file);
    text.resize(got / sizeof(wchar_t));
    std::vector<std::wstring> args;
    for (std::size_t at = 0, end; (end = text.find(L'\n', at)) != std::wstring::npos;
         at = end + 1) {
        args.push_back(text.substr(at, end - at));
    }
    return args;
}

class ShellStart : public ::testing::Test {
  protected:
    void SetUp() override { NextRecord(); }
    void TearDown() override {
        DeleteFileW(record_.c_str());
        SetEnvironmentVariableW(L"LUMORA_ARGS_RECORD", nullptr);
        SetShellOwnerWindow(nullptr);
    }
    // Each request's recorder writes a record of its own name (the name is
    // in the environment it inherits), so a recorder that ends late can never
    // answer a later request.
    void NextRecord() {
        static int records = 0;
        record_ = TestFolder() + L"shell-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                  std::to_wstring(++records) + L".args";
        DeleteFileW(record_.c_str());
        SetEnvironmentVariableW(L"LUMORA_ARGS_RECORD", record_.c_str());
    }
    std::vector<std::wstring> Recorded() {
        auto args = WaitForRecord(record_, 20000);
        DeleteFileW(record_.c_str());
        NextRecord();
        return args;
    }
    static std::wstring Recorder() { return TestFolder() + L"args_recorder.exe"; }
    std::wstring record_;
};

using Args = std::vector<std::wstring>;

TEST_F(ShellStart, StartedProgramsGetExactlyTheParameters) {
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
}

TEST_F(ShellStart, ProgramInAFolderWithSpaces) {
    const std::wstring folder = TestFolder() + L"Program Files Copy\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring copy = folder + L"args recorder.exe";
    ASSERT_TRUE(CopyFileW(Recorder().c_str(), copy.c_str(), FALSE));
    ExecuteFileDetached(copy, L"/checkupdate");
    EXPECT_EQ(Recorded(), Args{L"/checkupdate"});
    // The copy may still be ending.
    for (int i = 0; i < 50 && !DeleteFileW(copy.c_str()); ++i) {
        Sleep(100);
    }
    RemoveDirectoryW(folder.c_str());
}

TEST_F(ShellStart, OwnedRequestsStartTheSameWithAndWithoutAnOwner) {
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
    DestroyWindow(owner);
}

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
// shell open the current folder) and show nothing. Every process this test
// starts lands in a job that counts them; the shell has created a process by
// the time its request returns, so once the recorder, started last, has
// written its record, the count tells whether anything else was started.
class ShellNothing : public ShellStart {
  protected:
    void ExpectNothingStartedBy(const std::function<void()>& requests) {
        HANDLE job = CreateJobObjectW(nullptr, nullptr);
        ASSERT_NE(job, nullptr);
        ASSERT_TRUE(AssignProcessToJobObject(job, GetCurrentProcess()));
        auto started = [job] {
            JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
            QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info, sizeof(info),
                                      nullptr);
            return info.TotalProcesses;
        };
        const DWORD before = started();
        const int windowsBefore = VisibleWindowsOfThisProcess();
        requests();
        EXPECT_EQ(VisibleWindowsOfThisProcess(), windowsBefore) << "a message was shown";

        ExecuteFileDetached(Recorder(), L"last");
        EXPECT_EQ(Recorded(), Args{L"last"});
        EXPECT_EQ(started() - before, 1u) << "something besides the recorder was started";
        CloseHandle(job);
    }
};

TEST_F(ShellNothing, MissingTargetsDoNothing) {
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
TEST_F(ShellNothing, EmptyTargetsStartNothing) {
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
