// The access layer's contract. The same cases run natively over the in-memory
// registry and under Wine over Windows' registry; the in-memory registry is
// trusted only where both agree.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry/CustomRegistry.h"
#include "tests/support/RawRegistry.h"

namespace lumora {
namespace {

using test::DwordBytes;
using test::RawRegistry;
using test::TextBytes;
using Bytes = std::vector<std::uint8_t>;

constexpr RootKey kHklm = RootKey::LocalMachine;
constexpr RootKey kHkcu = RootKey::CurrentUser;
const std::wstring kBase = L"\\Software\\LumoraTest\\";

class CustomRegistryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        raw_.DeleteTree(kHklm, kBase);
        raw_.DeleteTree(kHkcu, kBase);
    }
    void TearDown() override { SetUp(); }
    RawRegistry raw_;
};

// A text value stored as a REG_SZ without its terminator: the source buffer
// goes on with a non-zero character, since RegSetValueExW adds a missing
// terminator when the next character is 0.
Bytes Unterminated(const std::wstring& text) {
    Bytes bytes = TextBytes(text + L"X", false);
    bytes.resize(bytes.size() - 2);
    return bytes;
}

struct StringReadCase {
    const char* what;
    std::uint32_t type;
    Bytes data;
    std::wstring expected;
};

TEST_F(CustomRegistryTest, ReadRegStringByStoredTypeAndShape) {
    Bytes odd = TextBytes(L"ab", false);
    odd.push_back(0x41);
    const StringReadCase cases[] = {
        /* 0 */ {"plain REG_SZ", reg::kSz, TextBytes(L"Lumora", true), L"Lumora"},
        /* 1 */ {"empty REG_SZ gives the default", reg::kSz, TextBytes(L"", true), L"dflt"},
        /* 2 */ {"zero-size REG_SZ", reg::kSz, Bytes{}, L"dflt"},
        /* 3 */
        {"REG_EXPAND_SZ unexpanded", reg::kExpandSz, TextBytes(L"%WINDIR%\\x", true),
         L"%WINDIR%\\x"},
        /* 4 */ {"REG_DWORD", reg::kDword, DwordBytes(7), L"dflt"},
        /* 5 */ {"REG_BINARY", reg::kBinary, TextBytes(L"text", true), L"dflt"},
        /* 6 */ {"REG_MULTI_SZ", reg::kMultiSz, TextBytes(L"a", true), L"dflt"},
        /* 7 */ {"odd byte count drops the last byte", reg::kSz, odd, L"ab"},
        /* 8 */
        {"text ends at the first 0", reg::kSz, TextBytes(std::wstring(L"ab\0cd", 5), true), L"ab"},
        /* 9 */
        {"non-ASCII text", reg::kSz, TextBytes(L"Caf\u00e9 \u00a9", true), L"Caf\u00e9 \u00a9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        raw_.Put(kHklm, kBase, L"Value", c.type, c.data);
        EXPECT_EQ(ReadRegString(kHklm, kBase, L"Value", L"dflt", false), c.expected);
    }
}

TEST_F(CustomRegistryTest, ReadRegStringOfUnterminatedTextStopsAtItsSize) {
    raw_.Put(kHklm, kBase, L"Value", reg::kSz, Unterminated(L"abc"));
    const auto stored = raw_.Get(kHklm, kBase, L"Value");
    ASSERT_TRUE(stored.has_value());
    ASSERT_EQ(stored->data.size(), 6u) << "the registry added a terminator";
    EXPECT_EQ(ReadRegString(kHklm, kBase, L"Value", L"dflt", false), L"abc");
}

TEST_F(CustomRegistryTest, ReadRegStringOfSeveralMegabytes) {
    const std::wstring big(3 * 1024 * 1024, L'z');
    raw_.Put(kHklm, kBase, L"Big", reg::kSz, TextBytes(big, true));
    EXPECT_EQ(ReadRegString(kHklm, kBase, L"Big", L"dflt", false), big);
}

TEST_F(CustomRegistryTest, ReadsOfMissingKeysAndValuesGiveTheDefault) {
    EXPECT_EQ(ReadRegString(kHklm, kBase + L"None\\", L"V", L"dflt", false), L"dflt");
    EXPECT_EQ(ReadRegInteger(kHklm, kBase + L"None\\", L"V", -1, false), -1);
    EXPECT_TRUE(ReadRegBool(kHklm, kBase + L"None\\", L"V", true, false));
    raw_.Put(kHklm, kBase, L"Other", reg::kDword, DwordBytes(1));
    EXPECT_EQ(ReadRegString(kHklm, kBase, L"V", L"dflt", false), L"dflt");
    EXPECT_EQ(ReadRegInteger(kHklm, kBase, L"V", 42, false), 42);
    EXPECT_FALSE(ReadRegBool(kHklm, kBase, L"V", false, false));
    EXPECT_FALSE(raw_.KeyExists(kHklm, kBase + L"None\\"));
}

struct IntegerReadCase {
    const char* what;
    std::uint32_t type;
    Bytes data;
    std::int32_t expected;  // default is 99
    bool expectedBool;      // default is false
};

TEST_F(CustomRegistryTest, ReadRegIntegerAndBoolByStoredTypeAndShape) {
    const IntegerReadCase cases[] = {
        /* 0 */ {"REG_DWORD 5", reg::kDword, DwordBytes(5), 5, true},
        /* 1 */ {"REG_DWORD 0", reg::kDword, DwordBytes(0), 0, false},
        /* 2 */ {"REG_DWORD 2 is true", reg::kDword, DwordBytes(2), 2, true},
        /* 3 */ {"REG_DWORD 0xFFFFFFFF", reg::kDword, DwordBytes(0xFFFFFFFFu), -1, true},
        /* 4 */ {"REG_SZ of digits", reg::kSz, TextBytes(L"123", true), 99, false},
        /* 5 */ {"REG_BINARY of 4 bytes", reg::kBinary, DwordBytes(1), 99, false},
        /* 6 */ {"REG_DWORD of 8 bytes", reg::kDword, Bytes{1, 0, 0, 0, 0, 0, 0, 0}, 99, false},
        /* 7 */ {"REG_DWORD of 2 bytes", reg::kDword, Bytes{1, 0}, 99, false},
        /* 8 */ {"REG_DWORD of 0 bytes", reg::kDword, Bytes{}, 99, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        raw_.Put(kHklm, kBase, L"Value", c.type, c.data);
        EXPECT_EQ(ReadRegInteger(kHklm, kBase, L"Value", 99, false), c.expected);
        EXPECT_EQ(ReadRegBool(kHklm, kBase, L"Value", false, false), c.expectedBool);
    }
}

TEST_F(CustomRegistryTest, WritesStoreTheDocumentedTypesAndBytes) {
    WriteRegString(kHklm, kBase, L"Empty", L"", false);
    WriteRegString(kHklm, kBase, L"Text", L"Lumora", false);
    WriteRegInteger(kHklm, kBase, L"Minus", -1, false);
    WriteRegBinary(kHklm, kBase, L"Bin", Bytes{0x01, 0x00, 0x00, 0x00}, false);
    WriteRegBinary(kHklm, kBase, L"NoBytes", Bytes{}, false);
    WriteRegBool(kHklm, kBase, L"Yes", true, false);
    WriteRegBool(kHklm, kBase, L"No", false, false);

    struct Expected {
        const wchar_t* name;
        std::uint32_t type;
        Bytes data;
    };
    const Expected expected[] = {
        {L"Empty", reg::kSz, Bytes{0, 0}},
        {L"Text", reg::kSz, TextBytes(L"Lumora", true)},
        {L"Minus", reg::kDword, Bytes{0xFF, 0xFF, 0xFF, 0xFF}},
        {L"Bin", reg::kBinary, Bytes{0x01, 0x00, 0x00, 0x00}},
        {L"NoBytes", reg::kBinary, Bytes{}},
        {L"Yes", reg::kDword, Bytes{1, 0, 0, 0}},
        {L"No", reg::kDword, Bytes{0, 0, 0, 0}},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(std::string(e.name, e.name + wcslen(e.name)));
        const auto stored = raw_.Get(kHklm, kBase, e.name);
        ASSERT_TRUE(stored.has_value());
        EXPECT_EQ(stored->type, e.type);
        EXPECT_EQ(stored->data, e.data);
    }
}

TEST_F(CustomRegistryTest, WriteCreatesTheKeyPathAndReplacesAnyType) {
    const std::wstring deep = kBase + L"A\\B\\C";
    WriteRegInteger(kHkcu, deep, L"N", 12, false);
    EXPECT_EQ(ReadRegInteger(kHkcu, deep, L"N", 0, false), 12);

    raw_.Put(kHkcu, deep, L"N", reg::kSz, TextBytes(L"text", true));
    WriteRegInteger(kHkcu, deep, L"N", 3, false);
    const auto stored = raw_.Get(kHkcu, deep, L"N");
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->type, reg::kDword);
    EXPECT_EQ(ReadRegString(kHkcu, deep, L"N", L"dflt", false), L"dflt");
}

TEST_F(CustomRegistryTest, DeleteRegValue) {
    raw_.Put(kHklm, kBase, L"Gone", reg::kDword, DwordBytes(1));
    raw_.Put(kHklm, kBase, L"Kept", reg::kDword, DwordBytes(1));
    DeleteRegValue(kHklm, kBase, L"GONE", false);
    EXPECT_FALSE(raw_.Get(kHklm, kBase, L"Gone").has_value());
    EXPECT_TRUE(raw_.Get(kHklm, kBase, L"Kept").has_value());

    // Nothing to delete: returns normally and creates nothing.
    DeleteRegValue(kHklm, kBase, L"Gone", false);
    DeleteRegValue(kHklm, kBase + L"Missing\\", L"Gone", false);
    EXPECT_FALSE(raw_.KeyExists(kHklm, kBase + L"Missing\\"));
}

TEST_F(CustomRegistryTest, KeyPathsAndNamesFollowWindowsRules) {
    // The leading backslash is removed; a trailing one is accepted; letter
    // case does not matter in key or value names; a path without the leading
    // backslash names the same key.
    WriteRegString(kHklm, kBase + L"Paths\\", L"Name", L"one", false);
    EXPECT_EQ(ReadRegString(kHklm, L"\\software\\lumoratest\\PATHS", L"NAME", L"", false), L"one");
    EXPECT_EQ(ReadRegString(kHklm, L"Software\\LumoraTest\\Paths\\", L"name", L"", false), L"one");

    // A subkey that still begins with a backslash is a bad path name: reads
    // give the default and writes create nothing.
    const std::wstring doubled = L"\\\\Software\\LumoraTest\\Doubled\\";
    WriteRegString(kHklm, doubled, L"Name", L"two", false);
    EXPECT_EQ(ReadRegString(kHklm, doubled, L"Name", L"dflt", false), L"dflt");
    if (test::RunningUnderWine()) {
        // Wine gap: RegCreateKeyExW accepts the leading backslash that
        // RegOpenKeyExW refuses, so the write lands in the key.
        return;
    }
    EXPECT_FALSE(raw_.KeyExists(kHklm, kBase + L"Doubled\\"));
}

TEST_F(CustomRegistryTest, RefusedWritesLeaveTheRegistryAsItWas) {
    raw_.Put(kHklm, kBase + L"Locked\\", L"Old", reg::kDword, DwordBytes(5));
    if (!raw_.DenyWrites(kHklm, kBase + L"Locked\\")) {
        GTEST_SKIP() << "Wine gap: key security is not enforced for Wine's one user";
    }
    WriteRegInteger(kHklm, kBase + L"Locked\\", L"Old", 6, false);
    WriteRegString(kHklm, kBase + L"Locked\\Sub\\", L"New", L"x", false);
    DeleteRegValue(kHklm, kBase + L"Locked\\", L"Old", false);
    EXPECT_EQ(ReadRegInteger(kHklm, kBase + L"Locked\\", L"Old", 0, false), 5);
    EXPECT_FALSE(raw_.KeyExists(kHklm, kBase + L"Locked\\Sub\\"));
}

// The registry never writes past the size it is given (canary-filled buffer).
TEST_F(CustomRegistryTest, QueryValueWritesNothingPastTheGivenSize) {
    raw_.Put(kHklm, kBase, L"Six", reg::kBinary, Bytes{1, 2, 3, 4, 5, 6});
    RegistryBackend& registry = ActiveRegistry();
    RegKeyHandle key = 0;
    ASSERT_EQ(
        registry.OpenKey(kHklm, reg::SubKeyOf(kBase), reg::AccessFor(reg::kKeyRead, false), key),
        reg::kSuccess);
    std::uint8_t buffer[16];
    for (std::uint32_t given : {6u, 4u}) {
        std::fill(std::begin(buffer), std::end(buffer), 0xCC);
        std::uint32_t type = 0;
        std::uint32_t size = given;
        const long rc = registry.QueryValue(key, L"Six", &type, buffer, &size);
        EXPECT_EQ(rc, given == 6 ? reg::kSuccess : reg::kMoreData);
        EXPECT_EQ(size, 6u);
        for (std::size_t i = given; i < sizeof(buffer); ++i) {
            EXPECT_EQ(buffer[i], 0xCC) << "byte " << i << " with size " << given;
        }
    }
    registry.CloseKey(key);
}

}  // namespace
}  // namespace lumora
