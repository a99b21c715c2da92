// The setup under Wine, run silently (/S) as an administrator's deployment
// runs it: the files in the program folder, the program key's "Language",
// the Start-menu shortcut to a program that finds its updater, the
// Add/Remove Programs entry, and what the silent uninstaller removes and
// keeps. The setup is the tests' own build of Lumora.nsi (see CMakeLists).
#include <windows.h>

#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <string>

#include "platform/ShellAddresses.h"
#include "registry/CustomRegistry.h"
#include "registry/ProgramKey.h"
#include "tests/support/Automation.h"
#include "tests/support/Process.h"
#include "tests/support/RawRegistry.h"
#include "tuning/TweakCatalogue.h"
#include "ui/framework/WindowClasses.h"

namespace lumora {
namespace {

namespace pk = program_key;

constexpr DWORD kTimeoutMs = 60000;
constexpr wchar_t kUninstallEntry[] =
    L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumora\\";
constexpr wchar_t kUninstaller[] = L"Uninstall.exe";
const wchar_t* const kInstalledFiles[] = {kProgramFileName, kUpdaterFileName, kHelpFileName,
                                          kLicenseFileName};

std::wstring ShellFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring Lowered(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), towlower);
    return text;
}

std::wstring ImageOf(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    const bool read = process != nullptr && QueryFullProcessImageNameW(process, 0, path, &size);
    if (process != nullptr) {
        CloseHandle(process);
    }
    return read ? Lowered(path) : std::wstring();
}

struct WindowSearch {
    const wchar_t* windowClass;
    std::wstring image;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (test::ClassOf(window) == search->windowClass && ImageOf(processId) == search->image) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A top-level window of the class whose process runs |image|, within the
// time limit.
HWND WaitForWindowOfImage(const wchar_t* windowClass, const std::wstring& image) {
    WindowSearch search{windowClass, Lowered(image), nullptr};
    for (DWORD waited = 0; waited < kTimeoutMs; waited += 100) {
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            break;
        }
        Sleep(100);
    }
    return search.found;
}

// The process that owns |window|, to wait for.
test::Started ProcessOf(HWND window) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    return {
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, id),
        id};
}

class InstallerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = ShellFolder(CSIDL_PROGRAM_FILES) + L"\\Lumora\\";
        shortcut_ = ShellFolder(CSIDL_COMMON_PROGRAMS) + L"\\Lumora.lnk";
        raw_.DeleteTree(pk::kRoot, pk::kPath);
        ASSERT_FALSE(FileExists(folder_ + kProgramFileName))
            << "Lumora is installed in this prefix already";
    }
    // Whatever a failed test left behind.
    void TearDown() override {
        for (const wchar_t* file : kInstalledFiles) {
            DeleteFileW((folder_ + file).c_str());
        }
        DeleteFileW((folder_ + kUninstaller).c_str());
        RemoveDirectoryW(folder_.c_str());
        DeleteFileW(shortcut_.c_str());
        raw_.DeleteTree(pk::kRoot, kUninstallEntry);
        raw_.DeleteTree(pk::kRoot, pk::kPath);
    }

    static int Run(const std::wstring& commandLine) {
        test::Started started = test::Start(commandLine);
        return test::WaitForExit(started, kTimeoutMs);
    }
    static std::wstring SetupPath() {
        std::wstring path = test::TestFolder() + L"" LUMORA_TEST_SETUP;
        std::replace(path.begin(), path.end(), L'/', L'\\');
        return path;
    }
    void Install() { ASSERT_EQ(Run(L"\"" + SetupPath() + L"\" /S"), 0); }
    // "_?=" runs the uninstaller in place, so that its end is the end of its
    // work; it then cannot remove itself and the folder, which TearDown does.
    void Uninstall() {
        ASSERT_EQ(Run(L"\"" + folder_ + kUninstaller + L"\" /S _?=" +
                      folder_.substr(0, folder_.size() - 1)),
                  0);
        for (const wchar_t* file : kInstalledFiles) {
            EXPECT_FALSE(FileExists(folder_ + file)) << file;
        }
        EXPECT_FALSE(FileExists(shortcut_));
        EXPECT_FALSE(raw_.KeyExists(pk::kRoot, kUninstallEntry));
    }

    std::wstring folder_;
    std::wstring shortcut_;
    test::RawRegistry raw_;
};

TEST_F(InstallerTest, InstallsTheProgramThatFindsItsUpdater) {
    Install();
    for (const wchar_t* file : kInstalledFiles) {
        EXPECT_TRUE(FileExists(folder_ + file)) << file;
    }
    EXPECT_EQ(ReadRegString(pk::kRoot, pk::kPath, pk::kLanguage, L"", false), pk::kDefaultLanguage);
    EXPECT_TRUE(ReadRegBool(pk::kRoot, pk::kPath, pk::kUpdated, false, false));
    EXPECT_EQ(ReadRegString(pk::kRoot, kUninstallEntry, L"UninstallString", L"", false),
              L"\"" + folder_ + kUninstaller + L"\"");
    EXPECT_EQ(ReadRegString(pk::kRoot, kUninstallEntry, L"DisplayName", L"", false), L"Lumora");

    // The shortcut starts the installed program, whose updates button starts
    // the updater next to it (which then tells that it found no server).
    ASSERT_TRUE(FileExists(shortcut_));
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.lpFile = shortcut_.c_str();
    info.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExW(&info));
    HWND main = WaitForWindowOfImage(kMainFormClass, folder_ + kProgramFileName);
    ASSERT_NE(main, nullptr);
    for (int i = 0; i < 400 && !IsWindowVisible(main); ++i) {
        Sleep(50);
    }
    HWND updates = test::FindControl(main, L"Button", L" &Check for updates ...");
    ASSERT_NE(updates, nullptr);
    test::ClickControl(updates);
    HWND box = WaitForWindowOfImage(L"#32770", folder_ + kUpdaterFileName);
    EXPECT_NE(box, nullptr);
    if (box != nullptr) {
        test::Started updater = ProcessOf(box);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(test::WaitForExit(updater, kTimeoutMs), 0);
    }
    test::Started program = ProcessOf(main);
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(test::WaitForExit(program, kTimeoutMs), 0);
    // The program turned the setup's mark into its update date.
    EXPECT_FALSE(ReadRegBool(pk::kRoot, pk::kPath, pk::kUpdated, true, false));
    EXPECT_NE(ReadRegString(pk::kRoot, pk::kPath, pk::kUpdatedDate, L"", false), L"");

    // Without backup copies nothing of Lumora stays.
    Uninstall();
    EXPECT_FALSE(raw_.KeyExists(pk::kRoot, pk::kPath));
}

TEST_F(InstallerTest, SilentUninstallKeepsTheBackupCopies) {
    Install();
    const auto kept = std::find_if(Tweaks().begin(), Tweaks().end(),
                                   [](const TweakRow& row) { return row.backup.kept; });
    ASSERT_NE(kept, Tweaks().end());
    WriteRegBool(pk::kRoot, pk::kPath, pk::kRestore, true, false);
    WriteRegString(pk::kRoot, pk::kPath, kept->name, L"original", false);

    Uninstall();
    EXPECT_TRUE(ReadRegBool(pk::kRoot, pk::kPath, pk::kRestore, false, false));
    EXPECT_EQ(ReadRegString(pk::kRoot, pk::kPath, kept->name, L"", false), L"original");
}

}  // namespace
}  // namespace lumora
