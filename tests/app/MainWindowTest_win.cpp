// The main window and the about box of the built Lumora.exe, driven from
// outside under Wine the way a user meets them.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <optional>

#include "app/MainFormRules.h"
#include "platform/WindowsVersion.h"
#include "registry/CustomRegistry.h"
#include "registry/DateText.h"
#include "registry/ProgramKey.h"
#include "tests/support/Automation.h"
#include "tests/support/Process.h"
#include "tests/support/ProcessJob.h"
#include "tests/support/RawRegistry.h"
#include "tuning/WindowsEditions.h"
#include "ui/framework/WindowClasses.h"

namespace lumora {
namespace {

namespace pk = program_key;
using test::DwordBytes;
using test::TextBytes;

constexpr DWORD kTimeoutMs = 20000;
// For what another process does in its own time under Wine.
constexpr DWORD kProcessTimeoutMs = 60000;

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kTimeoutMs) {
    return test::WaitUntil(condition, timeoutMs);
}

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { raw_.DeleteTree(pk::kRoot, pk::kPath); }
    void TearDown() override {
        Close();
        raw_.DeleteTree(pk::kRoot, pk::kPath);
    }

    // Starts the program (in |job| when given) and waits for its window.
    HWND Open(const std::wstring& exe = L"", test::ProcessJob* job = nullptr) {
        const std::wstring path = exe.empty() ? test::TestFolder() + L"Lumora.exe" : exe;
        const std::wstring command = L"\"" + path + L"\"";
        process_ = job != nullptr ? job->Start(command) : test::Start(command);
        window_ = test::WaitForWindow(kMainFormClass, process_.id, kTimeoutMs);
        // The window exists before its components; it is shown when complete.
        WaitUntil([this] { return window_ != nullptr && IsWindowVisible(window_); });
        return window_ != nullptr && IsWindowVisible(window_) ? window_ : nullptr;
    }
    void Close() {
        if (process_.process != nullptr) {
            if (window_ != nullptr) {
                PostMessageW(window_, WM_CLOSE, 0, 0);
            }
            EXPECT_EQ(test::WaitForExit(process_, kTimeoutMs), 0);
        }
        window_ = nullptr;
    }
    std::vector<HWND> Combos() const { return test::ControlsOfClass(window_, WC_COMBOBOXEXW); }
    int Selection(HWND combo) const {
        return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
    }
    HWND Label(const std::wstring& text, bool prefix = false) const {
        return test::FindControl(window_, L"Static", text, prefix);
    }

    test::RawRegistry raw_;
    test::Started process_;
    HWND window_ = nullptr;
};

TEST_F(MainWindowTest, FirstStartOnAnEmptyProgramKey) {
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(test::WindowText(window_), L"Lumora - Make your computer and internet run faster");

    const std::vector<HWND> combos = Combos();
    ASSERT_EQ(combos.size(), 3u);
    EXPECT_EQ(Selection(combos[0]), WindowsItemForOsIndex(GetWindowsVersion()));
    const std::wstring processorName = ReadRegString(
        RootKey::LocalMachine, L"\\HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0\\",
        L"ProcessorNameString", L"", false);
    EXPECT_EQ(Selection(combos[1]), DetectProcessorType(processorName));
    EXPECT_EQ(Selection(combos[2]), 0);

    const std::vector<HWND> bars = test::ControlsOfClass(window_, TRACKBAR_CLASSW);
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(SendMessageW(bars[0], TBM_GETPOS, 0, 0), 0);

    HWND restore = test::FindControl(window_, L"Button", L"&Restore");
    ASSERT_NE(restore, nullptr);
    EXPECT_FALSE(IsWindowEnabled(restore));
    EXPECT_NE(test::FindControl(window_, L"Button", L"&Optimize now"), nullptr);

    EXPECT_NE(Label(L"Version installed : 2.9.5.2016"), nullptr);
    const std::wstring installed =
        ReadRegString(pk::kRoot, pk::kPath, pk::kInstalledDate, L"", false);
    ASSERT_FALSE(installed.empty());
    const std::wstring expected = L"Last updated : " + DateStampToDisplayText(installed);
    EXPECT_NE(Label(expected), nullptr) << "no label reads the install date";
}

TEST_F(MainWindowTest, StoredChoicesOutOfRangeAndTheRestoreFlag) {
    raw_.Put(pk::kRoot, pk::kPath, pk::kInternetType, REG_DWORD, DwordBytes(12));
    raw_.Put(pk::kRoot, pk::kPath, pk::kProcessorType, REG_DWORD, DwordBytes(2));
    raw_.Put(pk::kRoot, pk::kPath, pk::kSpeedSetting, REG_DWORD, DwordBytes(5));
    raw_.Put(pk::kRoot, pk::kPath, pk::kRestore, REG_DWORD, DwordBytes(1));
    ASSERT_NE(Open(), nullptr);
    const std::vector<HWND> combos = Combos();
    ASSERT_EQ(combos.size(), 3u);
    EXPECT_EQ(Selection(combos[1]), 2);
    EXPECT_EQ(Selection(combos[2]), -1);
    EXPECT_EQ(SendMessageW(test::ControlsOfClass(window_, TRACKBAR_CLASSW).at(0), TBM_GETPOS, 0, 0),
              1);
    EXPECT_TRUE(IsWindowEnabled(test::FindControl(window_, L"Button", L"&Restore")));
    Close();

    raw_.Put(pk::kRoot, pk::kPath, pk::kInternetType, REG_DWORD, DwordBytes(0xFFFFFFFFu));
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(Selection(Combos().at(2)), -1);
}

// The 45-day rule starts "Lumora.exe" of the program folder whatever the
// running executable is called: here it is a stand-in that records its
// command line, next to a renamed copy of the program.
TEST_F(MainWindowTest, TheFortyFiveDayRuleStartsTheUpdateCheck) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"lumora-45day\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring program = folder + L"LumoraUnderTest.exe";
    const std::wstring standIn = folder + L"Lumora.exe";
    const std::wstring log = standIn + L".log";
    ASSERT_TRUE(CopyFileW((test::TestFolder() + L"Lumora.exe").c_str(), program.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW((test::TestFolder() + L"recorder.exe").c_str(), standIn.c_str(), FALSE));

    const std::int32_t now = DateStampFromTime(CurrentLocalTime());
    const struct {
        const char* what;
        std::optional<std::int32_t> age;  // seconds; none: no update date
        bool starts;
    } cases[] = {
        // A stamp is rounded to the nearest second, so |now| may be stamped
        // up to half a second late: one second more keeps the program's own
        // clock, read later, 46 whole days past the date.
        {"46 days", 46 * 86400 + 1, true},
        {"45 days 23 hours", 45 * 86400 + 23 * 3600, false},
        {"45 days", 45 * 86400, false},
        {"no update date", std::nullopt, false},
    };
    auto recorded = [&log] {
        std::ifstream in(log.c_str(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()),
                            bytes.size() / sizeof(wchar_t));
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileW(log.c_str());
        raw_.DeleteTree(pk::kRoot, pk::kPath);
        if (c.age) {
            raw_.Put(pk::kRoot, pk::kPath, pk::kUpdatedDate, REG_SZ,
                     TextBytes(FormatDateStamp(now - *c.age), true));
        }
        // The program and whatever it starts share a job: once all of them
        // have ended, a stand-in that was started has written its log.
        test::ProcessJob job;
        ASSERT_NE(Open(program, &job), nullptr);
        Close();
        ASSERT_TRUE(job.WaitUntilAllEnded(kProcessTimeoutMs)) << "the stand-in did not end";
        EXPECT_EQ(job.StartedCount() > 1, c.starts);
        const std::wstring line = recorded();
        EXPECT_EQ(line.find(L"/checkupdate") != std::wstring::npos, c.starts) << line.size();
    }
    DeleteFileW(log.c_str());
    DeleteFileW(program.c_str());
    DeleteFileW(standIn.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST_F(MainWindowTest, TheAboutBoxShowsTheVersionOnceEachTime) {
    ASSERT_NE(Open(), nullptr);
    HWND aboutLink = Label(L"About Lumora");
    ASSERT_NE(aboutLink, nullptr);
    HWND about = FindWindowW(kAboutFormClass, nullptr);
    ASSERT_NE(about, nullptr);
    for (int showing = 0; showing < 2; ++showing) {
        SCOPED_TRACE(showing);
        test::ClickControl(aboutLink);
        ASSERT_TRUE(WaitUntil([about] { return IsWindowVisible(about) != FALSE; }));
        EXPECT_EQ(test::WindowText(about), L"About Lumora");
        EXPECT_FALSE(IsWindowEnabled(window_)) << "the about box is modal";
        EXPECT_NE(test::FindControl(about, L"Static", L"Lumora 2  (Version : 2.9.5.2016)"),
                  nullptr);
        PostMessageW(about, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitUntil([about] { return !IsWindowVisible(about); }));
        EXPECT_TRUE(WaitUntil([this] { return IsWindowEnabled(window_) != FALSE; }));
    }
}

// The underline is seen on the screen: the label's text gains a row of dark
// pixels while the pointer is on it, and loses it when the pointer leaves.
TEST_F(MainWindowTest, HoverUnderlinesTheLinkWhileThePointerIsOnIt) {
    ASSERT_NE(Open(), nullptr);
    HWND link = Label(L"Help with Lumora");
    ASSERT_NE(link, nullptr);
    test::MovePointerAway();
    Sleep(300);
    const int plain = test::DarkPixels(link);
    ASSERT_GT(plain, 0);
    test::HoverControl(link);
    int hovered = plain;
    EXPECT_TRUE(WaitUntil([&] { return (hovered = test::DarkPixels(link)) > plain; }))
        << hovered << " dark pixels, " << plain << " without the pointer";
    test::MovePointerAway();
    int left = hovered;
    EXPECT_TRUE(WaitUntil([&] { return (left = test::DarkPixels(link)) == plain; }))
        << left << " dark pixels, " << plain << " before the pointer came";
}

}  // namespace
}  // namespace lumora
