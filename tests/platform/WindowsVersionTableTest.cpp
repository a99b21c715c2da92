// The version table: every row, the product-type rules, and the versions it
// does not know.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/WindowsVersion.h"

namespace lumora {
namespace {

constexpr std::uint8_t kNone = kProductTypeNone;
constexpr std::uint8_t kWork = kProductWorkstation;
constexpr std::uint8_t kDc = kProductDomainController;
constexpr std::uint8_t kServer = kProductServer;

struct VersionCase {
    std::uint32_t major;
    std::uint32_t minor;
    std::uint8_t product;
    int expected;
};

void ExpectCases(const VersionCase* begin, const VersionCase* end) {
    for (const VersionCase* c = begin; c != end; ++c) {
        EXPECT_EQ(OsIndexFor(c->major, c->minor, c->product), c->expected)
            << c->major << "." << c->minor << " product type " << int(c->product);
    }
}

TEST(WindowsVersionTable, EveryRowByProductType) {
    const VersionCase cases[] = {
        // Windows 2000 and XP: the product type does not matter.
        {5, 0, kWork, 0},
        {5, 0, kServer, 0},
        {5, 0, kDc, 0},
        {5, 0, kNone, 0},
        {5, 1, kWork, 1},
        {5, 1, kServer, 1},
        {5, 1, kNone, 1},
        // 5.2: the 64-bit XP workstation, or Server 2003.
        {5, 2, kWork, 1},
        {5, 2, kServer, 2},
        {5, 2, kDc, 2},
        {5, 2, kNone, -1},
        {6, 0, kWork, 3},
        {6, 0, kServer, 4},
        {6, 0, kDc, 4},
        {6, 0, kNone, -1},
        // A 6.1 server counts as Server 2008.
        {6, 1, kWork, 5},
        {6, 1, kServer, 4},
        {6, 1, kDc, 4},
        {6, 1, kNone, -1},
        {6, 2, kWork, 6},
        {6, 2, kServer, 7},
        {6, 2, kDc, 7},
        {6, 2, kNone, -1},
        {6, 3, kWork, 6},
        {6, 3, kServer, 7},
        {6, 3, kDc, 7},
        {6, 3, kNone, -1},
        // Windows 10: every minor version and product type, servers included.
        {10, 0, kWork, 8},
        {10, 0, kServer, 8},
        {10, 0, kDc, 8},
        {10, 0, kNone, 8},
        {10, 1, kWork, 8},
        {10, 0xFFFFFFFFu, kServer, 8},
    };
    ExpectCases(std::begin(cases), std::end(cases));
}

TEST(WindowsVersionTable, ProductTypesAboveThreeCountAsServers) {
    const VersionCase cases[] = {
        {5, 2, 4, 2},
        {6, 0, 0x80, 4},
        {6, 1, 0xFF, 4},
        {6, 3, 0xFF, 7},
    };
    ExpectCases(std::begin(cases), std::end(cases));
}

TEST(WindowsVersionTable, VersionsOutsideTheTableAreNotRecognised) {
    const VersionCase cases[] = {
        {5, 3, kWork, -1},
        {5, 3, kServer, -1},
        {5, 0xFFFFFFFFu, kWork, -1},
        {6, 4, kWork, -1},
        {6, 4, kServer, -1},
        {6, 5, kWork, -1},
        {6, 0xFFFFFFFFu, kWork, -1},
        // What a cleared record reads when both queries failed.
        {0, 0, kNone, -1},
        {4, 0, kWork, -1},
        {4, 10, kServer, -1},
        {7, 0, kWork, -1},
        {8, 0, kWork, -1},
        {9, 0, kServer, -1},
        {11, 0, kWork, -1},
        {0xFFFFFFFFu, 0, kWork, -1},
    };
    ExpectCases(std::begin(cases), std::end(cases));
}

}  // namespace
}  // namespace lumora
