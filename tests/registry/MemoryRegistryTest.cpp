// What only the native build can see: the rights each call asks for, the
// view they reach, and that every opened key is closed again.
#include <gtest/gtest.h>

#include "registry/CustomRegistry.h"
#include "tests/support/RawRegistry.h"

namespace lumora {
namespace {

TEST(RegistryRightsTest, EachCallAsksForItsRightsAndClosesItsKey) {
    test::RawRegistry raw;
    MemoryRegistry& memory = *raw.Memory();
    const RootKey root = RootKey::LocalMachine;
    const std::wstring path = L"\\Software\\LumoraTest\\";
    const struct {
        const char* what;
        void (*call)(RootKey, const std::wstring&, bool);
        std::uint32_t rights;    // with the flag false
        std::uint32_t rights64;  // with the flag true
    } cases[] = {
        {"ReadRegString",
         [](RootKey r, const std::wstring& p, bool v) { ReadRegString(r, p, L"V", L"", v); },
         0x20019, 0x20119},
        {"ReadRegInteger",
         [](RootKey r, const std::wstring& p, bool v) { ReadRegInteger(r, p, L"V", 0, v); },
         0x20019, 0x20119},
        {"ReadRegBool",
         [](RootKey r, const std::wstring& p, bool v) { ReadRegBool(r, p, L"V", false, v); },
         0x20019, 0x20119},
        {"WriteRegString",
         [](RootKey r, const std::wstring& p, bool v) { WriteRegString(r, p, L"V", L"x", v); },
         0x20006, 0x20106},
        {"WriteRegInteger",
         [](RootKey r, const std::wstring& p, bool v) { WriteRegInteger(r, p, L"V", 1, v); },
         0x20006, 0x20106},
        {"WriteRegBinary",
         [](RootKey r, const std::wstring& p, bool v) { WriteRegBinary(r, p, L"V", {1}, v); },
         0x20006, 0x20106},
        {"WriteRegBool",
         [](RootKey r, const std::wstring& p, bool v) { WriteRegBool(r, p, L"V", true, v); },
         0x20006, 0x20106},
        {"DeleteRegValue",
         [](RootKey r, const std::wstring& p, bool v) { DeleteRegValue(r, p, L"V", v); }, 0xF003F,
         0xF013F},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (bool use64 : {false, true}) {
            c.call(root, path, use64);
            ASSERT_FALSE(memory.AccessLog().empty());
            EXPECT_EQ(memory.AccessLog().back(), use64 ? c.rights64 : c.rights);
            EXPECT_EQ(memory.OpenHandleCount(), 0u);
        }
    }
}

// The 64-bit-view flag reaches the in-memory native view, its absence the
// program's own; the two share no key.
TEST(RegistryRightsTest, TheViewFlagChoosesTheView) {
    test::RawRegistry raw;
    MemoryRegistry& memory = *raw.Memory();
    const RootKey root = RootKey::LocalMachine;
    const std::wstring path = L"\\Software\\LumoraTest\\";
    WriteRegInteger(root, path, L"V", 32, false);
    WriteRegInteger(root, path, L"V", 64, true);
    EXPECT_EQ(ReadRegInteger(root, path, L"V", 0, false), 32);
    EXPECT_EQ(ReadRegInteger(root, path, L"V", 0, true), 64);

    DeleteRegValue(root, path, L"V", true);
    EXPECT_TRUE(memory.Get(root, path, L"V", RegistryView::Program).has_value());
    EXPECT_FALSE(memory.Get(root, path, L"V", RegistryView::Native).has_value());
    EXPECT_TRUE(memory.KeyExists(root, path, RegistryView::Native));
}

}  // namespace
}  // namespace lumora
