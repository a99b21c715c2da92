// Lumora.exe started as a user would start it, under Wine: the program key
// is checked with Wine's own reg.exe, the windows by their classes.
#include <windows.h>

#include <gtest/gtest.h>
#include <psapi.h>

#include <algorithm>
#include <cstdlib>
#include <cwctype>
#include <string>
#include <vector>

#include "registry/DateText.h"
#include "registry/ProgramKey.h"
#include "tests/support/Process.h"
#include "tests/support/RawRegistry.h"
#include "ui/framework/WindowClasses.h"

namespace lumora {
namespace {

namespace pk = program_key;
using test::Started;

constexpr DWORD kWindowTimeoutMs = 20000;

std::wstring LumoraCommand(const std::wstring& arguments) {
    std::wstring command = L"\"" + test::TestFolder() + L"Lumora.exe\"";
    return arguments.empty() ? command : command + L" " + arguments;
}

// The data column of one value as Wine's reg.exe prints it, or "" when the
// value is missing.
std::string RegQuery(const wchar_t* valueName) {
    const std::string output =
        test::RunAndCapture(L"reg.exe query \"HKLM\\Software\\OSTREL\\Lumora\" /v " +
                            std::wstring(valueName) + L" /reg:32");
    const std::string name(valueName, valueName + wcslen(valueName));
    const std::size_t at = output.find(name);
    if (at == std::string::npos) {
        return std::string();
    }
    std::string line = output.substr(at + name.size());
    line = line.substr(0, line.find_first_of("\r\n"));
    const std::size_t type = line.find("REG_");
    if (type == std::string::npos) {
        return std::string();
    }
    const std::size_t data = line.find_first_not_of(' ', line.find(' ', type));
    return data == std::string::npos ? std::string() : line.substr(data);
}

// The main window of the process once it shows one, or null once the
// process has ended without one (or after a generous bound).
HWND WaitForWindowOrEnd(const Started& started) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 3 * kWindowTimeoutMs) {
        if (HWND window = test::WaitForWindow(kMainFormClass, started.id, 0)) {
            return window;
        }
        if (WaitForSingleObject(started.process, 20) == WAIT_OBJECT_0) {
            return test::WaitForWindow(kMainFormClass, started.id, 0);
        }
    }
    return nullptr;
}

// The file names, lower-cased, of the DLLs loaded in the process.
std::vector<std::wstring> LoadedModules(HANDLE process) {
    std::vector<HMODULE> modules(512);
    DWORD bytes = 0;
    if (!EnumProcessModules(process, modules.data(),
                            static_cast<DWORD>(modules.size() * sizeof(HMODULE)), &bytes)) {
        return {};
    }
    modules.resize(std::min<std::size_t>(bytes / sizeof(HMODULE), modules.size()));
    std::vector<std::wstring> names;
    for (HMODULE module : modules) {
        wchar_t name[MAX_PATH] = {};
        if (GetModuleBaseNameW(process, module, name, MAX_PATH) > 0) {
            std::wstring lower(name);
            std::transform(lower.begin(), lower.end(), lower.begin(),
                           [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
            names.push_back(lower);
        }
    }
    return names;
}

class StartupProcessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CloseAll();
        raw_.DeleteTree(pk::kRoot, pk::kPath);
    }
    void TearDown() override {
        CloseAll();
        raw_.DeleteTree(pk::kRoot, pk::kPath);
    }
    // Closes every main window left by a test, and waits for its process.
    static void CloseAll() {
        for (int i = 0; i < 10; ++i) {
            HWND window = FindWindowW(kMainFormClass, nullptr);
            if (window == nullptr) {
                return;
            }
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
            PostMessageW(window, WM_CLOSE, 0, 0);
            if (process != nullptr) {
                WaitForSingleObject(process, 10000);
                CloseHandle(process);
            }
        }
    }
    // Starts an interactive instance and waits for its main window.
    HWND StartInteractive(Started& started) {
        started = test::Start(LumoraCommand(L""));
        EXPECT_NE(started.process, nullptr);
        return test::WaitForWindow(kMainFormClass, started.id, kWindowTimeoutMs);
    }
    // Runs Lumora.exe to its end; true when it ended by itself in time.
    static bool RunToEnd(const std::wstring& arguments, DWORD* windowOwner = nullptr) {
        Started started = test::Start(LumoraCommand(arguments));
        HWND window = WaitForWindowOrEnd(started);
        if (windowOwner != nullptr) {
            *windowOwner = window != nullptr ? started.id : 0;
        }
        if (window != nullptr) {
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
        return test::WaitForExit(started, kWindowTimeoutMs) == 0;
    }
    test::RawRegistry raw_;
};

TEST_F(StartupProcessTest, FirstStartStampsTheInstallDate) {
    const std::int32_t before = DateStampFromTime(CurrentLocalTime());
    ASSERT_TRUE(RunToEnd(L""));
    const std::int32_t after = DateStampFromTime(CurrentLocalTime());
    const std::string stamp = RegQuery(pk::kInstalledDate);
    ASSERT_FALSE(stamp.empty());
    const long value = std::strtol(stamp.c_str(), nullptr, 10);
    EXPECT_GE(value, before - 1);
    EXPECT_LE(value, after + 1);
    EXPECT_EQ(RegQuery(pk::kUpdatedDate), "");
}

TEST_F(StartupProcessTest, AnOldInstallDateIsKeptAndTheUpdatedMarkConsumed) {
    raw_.Put(pk::kRoot, pk::kPath, pk::kInstalledDate, REG_SZ,
             test::TextBytes(L"12/09/2015 01:54:12", true));
    raw_.Put(pk::kRoot, pk::kPath, pk::kUpdated, REG_DWORD, test::DwordBytes(1));
    const std::int32_t before = DateStampFromTime(CurrentLocalTime());
    ASSERT_TRUE(RunToEnd(L"/checkupdate"));
    EXPECT_EQ(RegQuery(pk::kInstalledDate), "12/09/2015 01:54:12");
    EXPECT_EQ(RegQuery(pk::kUpdated), "0x0");
    const long updated = std::strtol(RegQuery(pk::kUpdatedDate).c_str(), nullptr, 10);
    EXPECT_GE(updated, before - 1);
    EXPECT_LE(updated, DateStampFromTime(CurrentLocalTime()) + 1);

    // With the mark consumed, the next start leaves the date alone.
    raw_.Put(pk::kRoot, pk::kPath, pk::kUpdatedDate, REG_SZ, test::TextBytes(L"7", true));
    ASSERT_TRUE(RunToEnd(L"/checkupdate"));
    EXPECT_EQ(RegQuery(pk::kUpdatedDate), "7");
}

// The DLLs the program loads only when first needed stay out of its start:
// Winsock (the update check), the shell, and OLE Automation, which reads the
// dates back only where the user's formats do not keep the whole moment.
TEST_F(StartupProcessTest, TheMainWindowOpensWithoutTheLateLoadedLibraries) {
    const std::wstring now = FormatDateStamp(DateStampFromTime(CurrentLocalTime()));
    raw_.Put(pk::kRoot, pk::kPath, pk::kInstalledDate, REG_SZ, test::TextBytes(now, true));
    raw_.Put(pk::kRoot, pk::kPath, pk::kUpdatedDate, REG_SZ, test::TextBytes(now, true));
    Started started;
    HWND window = StartInteractive(started);
    ASSERT_NE(window, nullptr);
    // Until its message loop runs, with everything made at the start.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kWindowTimeoutMs, &ignored);
    const std::vector<std::wstring> loaded = LoadedModules(started.process);
    ASSERT_NE(std::find(loaded.begin(), loaded.end(), L"lumora.exe"), loaded.end());
    std::vector<std::wstring> late = {L"ws2_32.dll", L"shell32.dll"};
    if (StampsReadBackWhole(GetUserDefaultLCID())) {
        late.push_back(L"oleaut32.dll");
    }
    for (const std::wstring& name : late) {
        EXPECT_EQ(std::find(loaded.begin(), loaded.end(), name), loaded.end())
            << std::string(name.begin(), name.end());
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(test::WaitForExit(started, kWindowTimeoutMs), 0);
}

TEST_F(StartupProcessTest, TheFirstArgumentChoosesTheMode) {
    const struct {
        const wchar_t* arguments;
        bool interactive;
    } cases[] = {
        /* 0 */ {L"/CHECKUPDATE", false},
        /* 1 */ {L"/checkupdate", false},
        /* 2 */ {L"/CheckUpdate extra arguments", false},
        /* 3 */ {L"\"/checkupdate \"", true},
        /* 4 */ {L"checkupdate", true},
        /* 5 */ {L"/help", true},
        /* 6 */ {L"", true},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        DWORD windowOwner = 0;
        EXPECT_TRUE(RunToEnd(cases[i].arguments, &windowOwner)) << "case " << i;
        EXPECT_EQ(windowOwner != 0, cases[i].interactive) << "case " << i;
    }
}

TEST_F(StartupProcessTest, ASecondStartRestoresTheRunningInstance) {
    for (const wchar_t* arguments : {L"", L"/checkupdate"}) {
        SCOPED_TRACE(testing::Message() << "second start with \"" << arguments << "\"");
        Started first;
        HWND window = StartInteractive(first);
        ASSERT_NE(window, nullptr);
        ShowWindow(window, SW_MINIMIZE);
        ASSERT_TRUE(IsIconic(window));

        Started second = test::Start(LumoraCommand(arguments));
        EXPECT_EQ(WaitForWindowOrEnd(second), nullptr);
        EXPECT_EQ(test::WaitForExit(second, kWindowTimeoutMs), 0);
        EXPECT_FALSE(IsIconic(window));
        EXPECT_TRUE(IsWindowVisible(window));
        EXPECT_EQ(GetForegroundWindow(), window);

        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(test::WaitForExit(first, kWindowTimeoutMs), 0);
    }
}

}  // namespace
}  // namespace lumora
