// GetWindowsVersion over scripted version queries (the fall-back to the plain
// record), over the real one for every Windows version Wine imitates, and on
// Windows over the host's own version; IsWindows64Bit over the host and over
// scripted answers.
#include <gtest/gtest.h>

#include <windows.h>

#include <sstream>
#include <string>

#include "platform/WindowsVersion.h"
#include "platform/WindowsVersion_win.h"
#include "tests/support/Process.h"
#include "tests/support/RawRegistry.h"
#include "tests/support/Wine.h"

namespace lumora {
namespace {

// A version query that answers with a fixed record, or refuses the extended
// layout and answers in the plain one; it notes the sizes it was asked with.
struct ScriptedAnswer {
    bool extendedRefused;
    DWORD major, minor;
    BYTE productType;  // written only into an extended record
};
ScriptedAnswer g_answer{};
int g_queries = 0;
DWORD g_sizes[4] = {};

BOOL WINAPI ScriptedQuery(OSVERSIONINFOW* record) {
    g_sizes[g_queries++ & 3] = record->dwOSVersionInfoSize;
    if (record->dwOSVersionInfoSize == sizeof(OSVERSIONINFOEXW)) {
        if (g_answer.extendedRefused) {
            return FALSE;
        }
        reinterpret_cast<OSVERSIONINFOEXW*>(record)->wProductType = g_answer.productType;
    } else if (record->dwOSVersionInfoSize != sizeof(OSVERSIONINFOW)) {
        return FALSE;
    }
    record->dwMajorVersion = g_answer.major;
    record->dwMinorVersion = g_answer.minor;
    return TRUE;
}

BOOL WINAPI FailingQuery(OSVERSIONINFOW* record) {
    g_sizes[g_queries++ & 3] = record->dwOSVersionInfoSize;
    record->dwMajorVersion = 6;
    record->dwMinorVersion = 1;
    return FALSE;
}

TEST(WindowsVersion, IndexFromTheRecordTheQueryFills) {
    const struct {
        ScriptedAnswer answer;
        int queries;
        int index;
    } cases[] = {
        // The extended record: the product type tells the editions apart.
        {{false, 6, 1, 1}, 1, 5},
        {{false, 6, 1, 3}, 1, 4},
        {{false, 5, 2, 1}, 1, 1},
        {{false, 5, 2, 2}, 1, 2},
        {{false, 6, 3, 3}, 1, 7},
        {{false, 10, 0, 3}, 1, 8},
        {{false, 6, 4, 1}, 1, -1},
        // Refused: the plain record has no product type, so only 5.0, 5.1
        // and 10.x are recognised.
        {{true, 5, 0, 1}, 2, 0},
        {{true, 5, 1, 1}, 2, 1},
        {{true, 10, 0, 1}, 2, 8},
        {{true, 5, 2, 1}, 2, -1},
        {{true, 6, 1, 1}, 2, -1},
        {{true, 6, 3, 3}, 2, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.answer.major << "." << c.answer.minor << " type "
                     << int(c.answer.productType) << (c.answer.extendedRefused ? ", plain" : ""));
        g_answer = c.answer;
        g_queries = 0;
        EXPECT_EQ(GetWindowsVersionWith(ScriptedQuery), c.index);
        ASSERT_EQ(g_queries, c.queries);
        EXPECT_EQ(g_sizes[0], 284u);
        if (c.queries == 2) {
            EXPECT_EQ(g_sizes[1], 276u);
        }
    }
}

TEST(WindowsVersion, BothQueriesFailing) {
    g_queries = 0;
    EXPECT_EQ(GetWindowsVersionWith(FailingQuery), -1);
    EXPECT_EQ(g_queries, 2);
}

BOOL WINAPI Wow64Yes(HANDLE, BOOL* wow64) {
    *wow64 = TRUE;
    return TRUE;
}
BOOL WINAPI Wow64No(HANDLE, BOOL* wow64) {
    *wow64 = FALSE;
    return TRUE;
}
BOOL WINAPI Wow64Failing(HANDLE, BOOL* wow64) {
    *wow64 = TRUE;
    return FALSE;
}

// The 32-bit program believes the system's answer only, and no answer is a
// 32-bit Windows: Windows 2000 has no IsWow64Process. A 64-bit build is on
// 64-bit Windows whatever it is told.
TEST(WindowsWidth, A64BitWindowsIsToldByTheSystemsAnswer) {
    EXPECT_EQ(IsWindows64Bit(), test::OnWindows64());
    const bool built64 = sizeof(void*) == 8;
    const struct {
        const char* what;
        Wow64Query query;
        bool windows64;
    } cases[] = {
        {"no such function", nullptr, built64},
        {"the question fails", Wow64Failing, built64},
        {"a 32-bit Windows", Wow64No, built64},
        {"a 64-bit Windows", Wow64Yes, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsWindows64BitWith(c.query), c.windows64) << c.what;
    }
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
        int plainIndex = -99;
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
            answer.index >> answer.plainIndex;
        return answer;
    }
};

struct WineCase {
    const wchar_t* wineVersion;
    unsigned long major, minor;
    unsigned productType;
    int index;            // with the program's manifest
    int indexNoManifest;  // without it
    int plainIndex;       // with the manifest, from the plain record alone
};

TEST_F(WineVersions, EveryImitatedVersionWithAndWithoutTheManifest) {
    // Wine 8 gaps, kept here as Wine answers them: "win7" reports product
    // type 3 and "win2008r2" type 1, each the other's (a real Windows 7 gives
    // 5, a real Server 2008 R2 gives 4). Without the supported-OS entries of
    // the manifest, "win81" and "win10" report 6.2 and are taken for
    // Windows 8: that is why the program carries them.
    const WineCase cases[] = {
        {L"win2k", 5, 0, 1, 0, 0, 0},      {L"winxp", 5, 1, 1, 1, 1, 1},
        {L"win2003", 5, 2, 3, 2, 2, -1},   {L"vista", 6, 0, 1, 3, 3, -1},
        {L"win2008", 6, 0, 3, 4, 4, -1},   {L"win7", 6, 1, 3, 4, 4, -1},
        {L"win2008r2", 6, 1, 1, 5, 5, -1}, {L"win8", 6, 2, 1, 6, 6, -1},
        {L"win81", 6, 3, 1, 6, 6, -1},     {L"win10", 10, 0, 1, 8, 6, 8},
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
                EXPECT_EQ(answer.plainIndex, c.plainIndex);
            }
        }
    }
}

// The host's own version, past the compatibility answer a program without
// the supported-OS entries gets: ntdll's RtlGetVersion where it has one,
// else the plain query (Windows 2000 gives its own version to everyone).
OSVERSIONINFOEXW HostVersion() {
    OSVERSIONINFOEXW record{};
    record.dwOSVersionInfoSize = sizeof(record);
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
    if (rtlGetVersion == nullptr || rtlGetVersion(&record) != 0) {
        record = OSVERSIONINFOEXW{};
        record.dwOSVersionInfoSize = sizeof(record);
        GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&record));
    }
    return record;
}

// On Windows the program's index is that of the host's own edition, and the
// manifest is what lets it see past Windows 8.
TEST(HostWindowsVersion, ProgramSeesTheHostsOwnEdition) {
    if (test::RunningUnderWine()) {
        GTEST_SKIP() << "Wine imitates the version set for each program (see WineVersions); "
                        "the host's own edition is checked on Windows only";
    }
    const OSVERSIONINFOEXW host = HostVersion();
    const std::string hostText = std::to_string(host.dwMajorVersion) + "." +
                                 std::to_string(host.dwMinorVersion) + " type " +
                                 std::to_string(host.wProductType);
    SCOPED_TRACE("host " + hostText);
    for (const bool manifest : {true, false}) {
        const std::wstring probe = manifest ? L"version_probe_manifest.exe" : L"version_probe.exe";
        const std::string text = test::RunAndCapture(L"\"" + test::TestFolder() + probe + L"\"");
        SCOPED_TRACE((manifest ? "manifest, probe printed: " : "no manifest, probe printed: ") +
                     text);
        unsigned long major = 0, minor = 0;
        unsigned productType = 0;
        int index = -99, plainIndex = -99;
        std::istringstream(text) >> major >> minor >> productType >> index >> plainIndex;
        // Without the supported-OS entries Windows 8.1 and later answer 6.2.
        const bool capped = !manifest && (host.dwMajorVersion > 6 ||
                                          (host.dwMajorVersion == 6 && host.dwMinorVersion > 2));
        EXPECT_EQ(major, capped ? 6u : host.dwMajorVersion);
        EXPECT_EQ(minor, capped ? 2u : host.dwMinorVersion);
        EXPECT_EQ(productType, host.wProductType);
        EXPECT_EQ(index, OsIndexFor(major, minor, host.wProductType));
        EXPECT_EQ(plainIndex, OsIndexFor(major, minor, kProductTypeNone));
        if (manifest) {
            EXPECT_NE(index, -1) << "every Windows from 2000 to 10 has an index";
        }
    }
}

}  // namespace
}  // namespace lumora
