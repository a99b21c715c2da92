// GetWindowsVersion on the real version query: the fall-back to the plain
// record, and the answers of every Windows version Wine imitates.
#include <gtest/gtest.h>

#include <windows.h>

#include <sstream>
#include <string>

#include "platform/WindowsVersion.h"
#include "platform/WindowsVersion_win.h"
#include "tests/support/Process.h"
#include "tests/support/RawRegistry.h"

namespace lumora {
namespace {

int g_queries = 0;
DWORD g_sizes[4] = {};

// The system's query, refusing the extended record.
BOOL WINAPI PlainOnlyQuery(OSVERSIONINFOW* record) {
    g_sizes[g_queries++ & 3] = record->dwOSVersionInfoSize;
    if (record->dwOSVersionInfoSize != sizeof(OSVERSIONINFOW)) {
        return FALSE;
    }
    return GetVersionExW(record);
}

BOOL WINAPI FailingQuery(OSVERSIONINFOW* record) {
    g_sizes[g_queries++ & 3] = record->dwOSVersionInfoSize;
    record->dwMajorVersion = 6;
    record->dwMinorVersion = 1;
    return FALSE;
}

OSVERSIONINFOEXW SystemAnswer() {
    OSVERSIONINFOEXW record{};
    record.dwOSVersionInfoSize = sizeof(record);
    GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&record));
    return record;
}

TEST(WindowsVersion, RunningSystemGivesTheIndexOfItsAnswer) {
    const OSVERSIONINFOEXW answer = SystemAnswer();
    EXPECT_EQ(GetWindowsVersion(),
              OsIndexFor(answer.dwMajorVersion, answer.dwMinorVersion, answer.wProductType));
    EXPECT_NE(GetWindowsVersion(), -1);
}

TEST(WindowsVersion, PlainRecordWhenTheExtendedOneIsRefused) {
    g_queries = 0;
    const OSVERSIONINFOEXW answer = SystemAnswer();
    const int index = GetWindowsVersionWith(PlainOnlyQuery);
    ASSERT_EQ(g_queries, 2);
    EXPECT_EQ(g_sizes[0], 284u);
    EXPECT_EQ(g_sizes[1], 276u);
    // The product type reads 0: only 5.0, 5.1 and 10.x are told apart.
    EXPECT_EQ(index, OsIndexFor(answer.dwMajorVersion, answer.dwMinorVersion, 0));
}

TEST(WindowsVersion, BothQueriesFailing) {
    g_queries = 0;
    EXPECT_EQ(GetWindowsVersionWith(FailingQuery), -1);
    EXPECT_EQ(g_queries, 2);
}

// Wine answers an executable with the version set for it under
// HKCU\Software\Wine\AppDefaults\<name>\Version.
class WineVersions : public ::testing::Test {
  protected:
    static constexpr const wchar_t* kProbes[] = {L"version_probe.exe",
                                                 L"version_probe_manifest.exe"};

    void SetUp() override {
        if (!test::RunningUnderWine()) {
            GTEST_SKIP() << "Wine's per-program Windows version";
        }
    }
    void TearDown() override {
        for (const wchar_t* probe : kProbes) {
            RegDeleteKeyW(HKEY_CURRENT_USER, AppKey(probe).c_str());
        }
    }
    static std::wstring AppKey(const wchar_t* probe) {
        return std::wstring(L"Software\\Wine\\AppDefaults\\") + probe;
    }

    struct Answer {
        unsigned long major = 0, minor = 0;
        unsigned productType = 0;
        int index = -99;
        std::string text;
    };

    Answer Run(const wchar_t* probe, const wchar_t* wineVersion) {
        HKEY key = nullptr;
        Answer answer;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, AppKey(probe).c_str(), 0, nullptr, 0, KEY_WRITE,
                            nullptr, &key, nullptr) != ERROR_SUCCESS) {
            return answer;
        }
        const std::wstring value(wineVersion);
        RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
        answer.text = test::RunAndCapture(L"\"" + test::TestFolder() + probe + L"\"", 30000);
        std::istringstream(answer.text) >> answer.major >> answer.minor >> answer.productType >>
            answer.index;
        return answer;
    }
};

struct WineCase {
    const wchar_t* wineVersion;
    unsigned long major, minor;
    unsigned productType;
    int index;            // with the program's manifest
    int indexNoManifest;  // without it
};

TEST_F(WineVersions, EveryImitatedVersionWithAndWithoutTheManifest) {
    // Wine 8 gaps, kept here as Wine answers them: "win7" reports product
    // type 3 and "win2008r2" type 1, each the other's (a real Windows 7 gives
    // 5, a real Server 2008 R2 gives 4). Without the supported-OS entries of
    // the manifest, "win81" and "win10" report 6.2 and are taken for
    // Windows 8: that is why the program carries them.
    const WineCase cases[] = {
        {L"win2k", 5, 0, 1, 0, 0},     {L"winxp", 5, 1, 1, 1, 1},   {L"win2003", 5, 2, 3, 2, 2},
        {L"vista", 6, 0, 1, 3, 3},     {L"win2008", 6, 0, 3, 4, 4}, {L"win7", 6, 1, 3, 4, 4},
        {L"win2008r2", 6, 1, 1, 5, 5}, {L"win8", 6, 2, 1, 6, 6},    {L"win81", 6, 3, 1, 6, 6},
        {L"win10", 10, 0, 1, 8, 6},
    };
    for (const WineCase& c : cases) {
        for (const bool manifest : {true, false}) {
            const Answer answer = Run(kProbes[manifest ? 1 : 0], c.wineVersion);
            SCOPED_TRACE(testing::Message()
                         << (manifest ? "manifest, " : "no manifest, ") << "Wine version "
                         << std::string(c.wineVersion, c.wineVersion + wcslen(c.wineVersion))
                         << ", probe printed: " << answer.text);
            EXPECT_EQ(answer.index, manifest ? c.index : c.indexNoManifest);
            if (manifest) {
                EXPECT_EQ(answer.major, c.major);
                EXPECT_EQ(answer.minor, c.minor);
                EXPECT_EQ(answer.productType, c.productType);
            }
        }
    }
}

}  // namespace
}  // namespace lumora
