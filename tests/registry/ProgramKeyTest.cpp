// The program key's typed reads and writes: the value names and types they
// use, and the defaults a missing value reads as.
#include <gtest/gtest.h>

#include <vector>

#include "registry/ProgramKey.h"
#include "tests/support/RawRegistry.h"

namespace lumora {
namespace {

namespace pk = program_key;
using test::DwordBytes;
using test::TextBytes;

class ProgramKeyTest : public ::testing::Test {
  protected:
    void SetUp() override { raw_.DeleteTree(pk::kRoot, pk::kPath); }
    void TearDown() override { raw_.DeleteTree(pk::kRoot, pk::kPath); }
    test::RawRegistry raw_;
};

TEST_F(ProgramKeyTest, AMissingKeyReadsAsTheDefaults) {
    const pk::StoredChoices choices = pk::ReadChoices();
    EXPECT_EQ(choices.connectionType, 0);
    EXPECT_EQ(choices.processorType, -1);
    EXPECT_EQ(choices.speedSetting, 0);
    EXPECT_FALSE(pk::ReadRestoreFlag());
    EXPECT_FALSE(pk::ReadUpdatedMark());
    EXPECT_EQ(pk::ReadInstalledDate(), L"");
    EXPECT_EQ(pk::ReadUpdatedDate(), L"");
    EXPECT_EQ(pk::ReadLanguage(), L"english");
    EXPECT_EQ(pk::ReadTextCopy(L"MinAnimate", L"1"), L"1");
    EXPECT_EQ(pk::ReadNumberCopy(L"Win32PrioritySeparation", 2), 2);
}

TEST_F(ProgramKeyTest, WritesUseTheStoredNamesAndTypes) {
    pk::WriteChoices({3, 1, 1});
    pk::SetRestoreFlag();
    pk::WriteInstalledDate(L"1449626052");
    pk::WriteUpdatedDate(L"-1");
    pk::WriteTextCopy(L"MinAnimate", L"0");
    pk::WriteNumberCopy(L"Win32PrioritySeparation", 26);
    const struct {
        const wchar_t* name;
        std::uint32_t type;
        std::vector<std::uint8_t> data;
    } expected[] = {
        {L"InternetType", reg::kDword, DwordBytes(3)},
        {L"ProcessorType", reg::kDword, DwordBytes(1)},
        {L"SpeedSetting", reg::kDword, DwordBytes(1)},
        {L"Restore", reg::kDword, DwordBytes(1)},
        {L"InstalledDate", reg::kSz, TextBytes(L"1449626052", true)},
        {L"UpdatedDate", reg::kSz, TextBytes(L"-1", true)},
        {L"MinAnimate", reg::kSz, TextBytes(L"0", true)},
        {L"Win32PrioritySeparation", reg::kDword, DwordBytes(26)},
    };
    for (const auto& value : expected) {
        const auto got = raw_.Get(pk::kRoot, pk::kPath, value.name);
        ASSERT_TRUE(got.has_value()) << value.name;
        EXPECT_EQ(got->type, value.type);
        EXPECT_EQ(got->data, value.data);
    }
    const pk::StoredChoices choices = pk::ReadChoices();
    EXPECT_EQ(choices.connectionType, 3);
    EXPECT_EQ(choices.processorType, 1);
    EXPECT_EQ(choices.speedSetting, 1);

    pk::DeleteRestoreFlag();
    pk::DeleteCopy(L"MinAnimate");
    EXPECT_FALSE(raw_.Get(pk::kRoot, pk::kPath, L"Restore").has_value());
    EXPECT_FALSE(raw_.Get(pk::kRoot, pk::kPath, L"MinAnimate").has_value());
    EXPECT_FALSE(pk::ReadRestoreFlag());
}

TEST_F(ProgramKeyTest, TheUpdatedMarkIsConsumedByWritingFalse) {
    raw_.Put(pk::kRoot, pk::kPath, L"Updated", reg::kDword, DwordBytes(1));
    EXPECT_TRUE(pk::ReadUpdatedMark());
    pk::ClearUpdatedMark();
    EXPECT_FALSE(pk::ReadUpdatedMark());
    EXPECT_EQ(raw_.Get(pk::kRoot, pk::kPath, L"Updated")->data, DwordBytes(0));
}

}  // namespace
}  // namespace lumora
