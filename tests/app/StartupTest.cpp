// Start-up's registry steps and mode choice, over the in-memory registry.
#include <gtest/gtest.h>

#include "app/Startup.h"
#include "registry/CustomRegistry.h"
#include "registry/ProgramKey.h"
#include "tests/support/RawRegistry.h"

namespace lumora {
namespace {

namespace pk = program_key;
using test::DwordBytes;
using test::TextBytes;

const LocalDateTime kNow{2026, 12, 9, 22, 43, 19, 0};
const std::wstring kNowStamp = L"1796856199";

class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override { raw_.DeleteTree(pk::kRoot, pk::kPath); }
    void TearDown() override { raw_.DeleteTree(pk::kRoot, pk::kPath); }
    std::wstring Text(const wchar_t* name) {
        return ReadRegString(pk::kRoot, pk::kPath, name, L"<missing>", false);
    }
    test::RawRegistry raw_;
};

TEST_F(StartupTest, FirstStartStampsTheInstallDateOnly) {
    RecordStartDates(kNow);
    EXPECT_EQ(Text(pk::kInstalledDate), kNowStamp);
    EXPECT_EQ(Text(pk::kUpdatedDate), L"<missing>");
    EXPECT_FALSE(raw_.Get(pk::kRoot, pk::kPath, pk::kUpdated).has_value());
}

TEST_F(StartupTest, AnyNonEmptyInstallDateIsKept) {
    for (const wchar_t* stored : {L"12/09/2015 01:54:12", L"1449626052", L"garbage"}) {
        raw_.Put(pk::kRoot, pk::kPath, pk::kInstalledDate, 1, TextBytes(stored, true));
        RecordStartDates(kNow);
        EXPECT_EQ(Text(pk::kInstalledDate), stored);
    }
}

TEST_F(StartupTest, EmptyOrMistypedInstallDateIsStampedAgain) {
    raw_.Put(pk::kRoot, pk::kPath, pk::kInstalledDate, 1, TextBytes(L"", true));
    RecordStartDates(kNow);
    EXPECT_EQ(Text(pk::kInstalledDate), kNowStamp);
    raw_.Put(pk::kRoot, pk::kPath, pk::kInstalledDate, 4, DwordBytes(7));
    RecordStartDates(kNow);
    EXPECT_EQ(Text(pk::kInstalledDate), kNowStamp);
}

TEST_F(StartupTest, TheUpdatedMarkIsConsumedOnce) {
    raw_.Put(pk::kRoot, pk::kPath, pk::kUpdated, 4, DwordBytes(1));
    RecordStartDates(kNow);
    EXPECT_EQ(raw_.Get(pk::kRoot, pk::kPath, pk::kUpdated)->data, DwordBytes(0));
    EXPECT_EQ(Text(pk::kUpdatedDate), kNowStamp);

    RecordStartDates(LocalDateTime{2027, 1, 1, 0, 0, 0, 0});
    EXPECT_EQ(Text(pk::kUpdatedDate), kNowStamp);
}

TEST_F(StartupTest, RefusedWritesAreRepeatedAtTheNextStart) {
    raw_.Put(pk::kRoot, pk::kPath, pk::kUpdated, 4, DwordBytes(1));
    if (!raw_.DenyWrites(pk::kRoot, pk::kPath)) {
        GTEST_SKIP() << "Wine gap: key security is not enforced for Wine's one user";
    }
    RecordStartDates(kNow);
    EXPECT_EQ(Text(pk::kInstalledDate), L"<missing>");
    EXPECT_TRUE(ReadRegBool(pk::kRoot, pk::kPath, pk::kUpdated, false, false));
}

TEST(StartModeTest, OnlyTheWholeSwitchInAnyCaseSelectsTheUpdateCheck) {
    const struct {
        const wchar_t* argument;
        StartMode expected;
    } cases[] = {
        {L"/checkupdate", StartMode::CheckUpdate},
        {L"/CHECKUPDATE", StartMode::CheckUpdate},
        {L"/CheckUpdate", StartMode::CheckUpdate},
        {L"", StartMode::Interactive},
        {L"/checkupdate ", StartMode::Interactive},
        {L"checkupdate", StartMode::Interactive},
        {L"-checkupdate", StartMode::Interactive},
        {L"/?", StartMode::Interactive},
        {L"/checkupdates", StartMode::Interactive},
        // Only A-Z are lowered: a dotted capital I is not an I.
        {L"/CHECKUPDATE\u0130", StartMode::Interactive},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ModeFromArgument(c.argument), c.expected) << std::wstring(c.argument).size();
    }
}

}  // namespace
}  // namespace lumora
