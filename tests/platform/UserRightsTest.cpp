// The choice between opening a request in this process and handing it to
// the desktop's shell, over every system and token the program meets, with
// the desktop's shell taking the request or not.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/UserRights.h"

namespace lumora {
namespace {

constexpr std::uint32_t kWindows2000 = 5;  // 5.0
constexpr std::uint32_t kWindowsXp = 5;    // 5.1
constexpr std::uint32_t kVista = 6;
constexpr std::uint32_t kWindows10 = 10;
constexpr std::uint32_t kUnreadable = 0;

using E = TokenElevation;

const char* NameOf(TokenElevation elevation) {
    switch (elevation) {
        case E::Unknown:
            return "unknown";
        case E::Default:
            return "default";
        case E::Full:
            return "full";
        case E::Limited:
            return "limited";
    }
    return "?";
}

struct Case {
    const char* system;
    std::uint32_t major;
    TokenElevation elevation;
    bool shellTakesIt;
    bool shellAsked;
    OpenWay way;
};

TEST(UserRights, EachRequestOpensOnceByTheWayItsSystemAndTokenNeed) {
    const Case cases[] = {
        // No UAC before Vista: the token query fails there, and whatever it
        // said, the program opens everything itself.
        {"Windows 2000", kWindows2000, E::Unknown, true, false, OpenWay::ThisProcess},
        {"Windows 2000", kWindows2000, E::Full, true, false, OpenWay::ThisProcess},
        {"Windows XP", kWindowsXp, E::Unknown, true, false, OpenWay::ThisProcess},
        {"Windows XP", kWindowsXp, E::Default, true, false, OpenWay::ThisProcess},
        {"Windows XP", kWindowsXp, E::Full, true, false, OpenWay::ThisProcess},
        // The elevated half of a split token: the desktop's shell, and this
        // process when the shell does not take the request.
        {"Windows Vista", kVista, E::Full, true, true, OpenWay::DesktopShell},
        {"Windows Vista", kVista, E::Full, false, true, OpenWay::ThisProcess},
        {"Windows 10", kWindows10, E::Full, true, true, OpenWay::DesktopShell},
        {"Windows 10", kWindows10, E::Full, false, true, OpenWay::ThisProcess},
        // UAC off or the built-in Administrator (default), a program that
        // is not elevated (limited), a token that cannot be read (unknown).
        {"Windows Vista", kVista, E::Default, true, false, OpenWay::ThisProcess},
        {"Windows Vista", kVista, E::Limited, true, false, OpenWay::ThisProcess},
        {"Windows Vista", kVista, E::Unknown, true, false, OpenWay::ThisProcess},
        {"Windows 10", kWindows10, E::Default, true, false, OpenWay::ThisProcess},
        {"Windows 10", kWindows10, E::Limited, true, false, OpenWay::ThisProcess},
        {"Windows 10", kWindows10, E::Unknown, true, false, OpenWay::ThisProcess},
        {"a version that cannot be read", kUnreadable, E::Full, true, false, OpenWay::ThisProcess},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.system << ", elevation " << NameOf(c.elevation)
                                        << (c.shellTakesIt ? "" : ", the shell refusing"));
        int shellCalls = 0;
        int hereCalls = 0;
        const OpenWay way = OpenWithUserRights(
            c.major, c.elevation,
            [&] {
                ++shellCalls;
                return c.shellTakesIt;
            },
            [&] { ++hereCalls; });
        EXPECT_EQ(way, c.way);
        EXPECT_EQ(shellCalls, c.shellAsked ? 1 : 0) << "asks of the desktop's shell";
        EXPECT_EQ(hereCalls, way == OpenWay::ThisProcess ? 1 : 0) << "opens in this process";
        EXPECT_EQ(NeedsDesktopShell(c.major, c.elevation), c.shellAsked);
    }
}

TEST(UserRights, ElevationTypesAsTheTokenReportsThem) {
    const struct {
        int type;
        TokenElevation elevation;
    } cases[] = {
        {1, E::Default}, {2, E::Full},    {3, E::Limited},
        {0, E::Unknown}, {4, E::Unknown}, {-1, E::Unknown},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TokenElevationFromType(c.type), c.elevation) << "type " << c.type;
    }
}

}  // namespace
}  // namespace lumora
