// Both builds reach the 32-bit registry view unless asked for the 64-bit one:
// on 64-bit Windows the program key lives below Software\Wow6432Node.
#include <windows.h>

#include <gtest/gtest.h>

#include "registry/CustomRegistry.h"
#include "tests/support/Process.h"

namespace lumora {
namespace {

bool ExistsInView(const wchar_t* subKey, REGSAM view) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, subKey, 0, KEY_READ | view, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

void DeleteInView(const wchar_t* subKey, REGSAM view) {
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, subKey, view, 0);
}

TEST(RegistryViewTest, TheFlagChoosesTheView) {
    if (!test::OnWindows64()) {
        GTEST_SKIP() << "32-bit Windows has one registry view";
    }
    const wchar_t* const k32 = L"Software\\Wow6432Node\\LumoraViewTest";
    const wchar_t* const k64 = L"Software\\LumoraViewTest";
    DeleteInView(k32, KEY_WOW64_64KEY);
    DeleteInView(k64, KEY_WOW64_64KEY);

    WriteRegInteger(RootKey::LocalMachine, L"\\Software\\LumoraViewTest\\", L"V", 32, false);
    EXPECT_TRUE(ExistsInView(k32, KEY_WOW64_64KEY));
    EXPECT_FALSE(ExistsInView(k64, KEY_WOW64_64KEY));

    WriteRegInteger(RootKey::LocalMachine, L"\\Software\\LumoraViewTest\\", L"V", 64, true);
    EXPECT_TRUE(ExistsInView(k64, KEY_WOW64_64KEY));
    EXPECT_EQ(
        ReadRegInteger(RootKey::LocalMachine, L"\\Software\\LumoraViewTest\\", L"V", 0, false), 32);
    EXPECT_EQ(ReadRegInteger(RootKey::LocalMachine, L"\\Software\\LumoraViewTest\\", L"V", 0, true),
              64);

    DeleteInView(k32, KEY_WOW64_64KEY);
    DeleteInView(k64, KEY_WOW64_64KEY);
}

}  // namespace
}  // namespace lumora
