// The edition list against the OS index, both ways.
#include <gtest/gtest.h>

#include <cstdint>

#include "tuning/WindowsEditions.h"

namespace lumora {
namespace {

TEST(WindowsEditionsTest, ConvertWindowsVersionOfEveryItem) {
    const std::int32_t expected[] = {8, 6, 5, 3, 1, 7, 4, 2, 0};
    for (std::int32_t item = 0; item < 9; ++item) {
        EXPECT_EQ(ConvertWindowsVersion(item), expected[item]) << "item " << item;
    }
    for (const std::int32_t item : {-1, 9, 42, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(ConvertWindowsVersion(item), -1) << "item " << item;
    }
}

TEST(WindowsEditionsTest, PreselectionIsTheInverse) {
    // OS index -> list item: Windows 2000 is the last entry, an unknown
    // edition the first (Windows 10).
    const std::int32_t expected[] = {8, 4, 7, 3, 6, 2, 1, 5, 0};
    for (std::int32_t os = 0; os < 9; ++os) {
        EXPECT_EQ(WindowsItemForOsIndex(os), expected[os]) << "OS index " << os;
        EXPECT_EQ(ConvertWindowsVersion(WindowsItemForOsIndex(os)), os) << "OS index " << os;
    }
    for (const std::int32_t os : {-1, 9, 42, INT32_MIN}) {
        EXPECT_EQ(WindowsItemForOsIndex(os), 0) << "OS index " << os;
    }
}

TEST(WindowsEditionsTest, ServerAndWorkstationEditions) {
    for (std::int32_t os = -2; os <= 10; ++os) {
        const bool server = os == 0 || os == 2 || os == 4 || os == 7;
        const bool workstation = os == 1 || os == 3 || os == 5 || os == 6 || os == 8;
        EXPECT_EQ(IsServerEdition(os), server) << "OS index " << os;
        EXPECT_EQ(IsWorkstationEdition(os), workstation) << "OS index " << os;
    }
}

}  // namespace
}  // namespace lumora
