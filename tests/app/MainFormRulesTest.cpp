#include <gtest/gtest.h>

#include <optional>

#include "app/MainFormRules.h"
#include "registry/DateText.h"
#include "registry/ProgramKey.h"
#include "tests/support/RawRegistry.h"

namespace lumora {
namespace {

TEST(MainFormRulesTest, ProcessorMakeFromItsName) {
    const struct {
        const wchar_t* name;
        std::int32_t expected;
    } cases[] = {
        {L"Intel(R) Core(TM) i7-6700 CPU @ 3.40GHz", 0},
        {L"AMD Ryzen 7 5800X 8-Core Processor", 1},
        {L"VIA Nano X2 U4025 @ 1.2+ GHz", 2},
        {L"AMD processor emulating INTEL", 0},  // intel is looked for first
        {L"QEMU Virtual CPU version 2.5+", 0},  // none of the three
        {L"", 0},
        {L"Trivial Processor", 2},  // "via" inside another word
        {L"Genuine GAMD chip", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DetectProcessorType(c.name), c.expected) << std::wstring(c.name).size();
    }
}

TEST(MainFormRulesTest, SpeedSettingIsClamped) {
    EXPECT_EQ(ClampSpeedSetting(-3), 0);
    EXPECT_EQ(ClampSpeedSetting(0), 0);
    EXPECT_EQ(ClampSpeedSetting(1), 1);
    EXPECT_EQ(ClampSpeedSetting(5), 1);
}

TEST(MainFormRulesTest, UpdateCheckIsDueAfterMoreThan45WholeDays) {
    const double now = 46000.25;
    EXPECT_TRUE(UpdateCheckDue(now - 46, now));
    EXPECT_FALSE(UpdateCheckDue(now - 45 - 23.0 / 24, now));
    EXPECT_FALSE(UpdateCheckDue(now - 45, now));
    EXPECT_FALSE(UpdateCheckDue(now, now));
    EXPECT_TRUE(UpdateCheckDue(now + 47, now));  // the difference counts either way
    EXPECT_FALSE(UpdateCheckDue(std::nullopt, now));
}

// The rule over the program key with the clock given: a stamp is read back
// as its date, a date text in the M/d/yyyy form as that day.
TEST(MainFormRulesTest, UpdateCheckRuleAtAnyClock) {
    namespace pk = program_key;
    const auto readBack = [](const std::wstring& stored) -> std::optional<double> {
        if (IsDateText(stored)) {
            const auto date = ParseShortDate(stored, L"M/d/yyyy", 2039);
            return date ? std::optional<double>(DayCountFromDateTime(*date)) : std::nullopt;
        }
        const auto stamp = ParseDateStamp(stored);
        return stamp ? std::optional<double>(TimeFromDateStamp(*stamp)) : std::nullopt;
    };
    const LocalDateTime now2026{2026, 12, 9, 22, 43, 19, 0};
    const LocalDateTime now2039{2039, 6, 1, 12, 0, 0, 0};
    const std::int32_t stamp2026 = DateStampFromTime(now2026);
    const struct {
        const char* what;
        std::optional<std::wstring> updatedDate;
        LocalDateTime now;
        bool due;
    } cases[] = {
        {"46 days back", FormatDateStamp(stamp2026 - 46 * 86400), now2026, true},
        {"45 days 23 hours back", FormatDateStamp(stamp2026 - 45 * 86400 - 23 * 3600), now2026,
         false},
        {"missing", std::nullopt, now2026, false},
        {"empty", L"", now2026, false},
        {"missing, in 2039", std::nullopt, now2039, false},
        // Stamped after 2038: the latest stamp there is, 19 January 2038.
        {"present, in 2039", L"2147483647", now2039, true},
        {"a date text one month back, in 2039", L"5/1/2039", now2039, false},
    };
    test::RawRegistry raw;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        raw.DeleteTree(pk::kRoot, pk::kPath);
        if (c.updatedDate) {
            raw.Put(pk::kRoot, pk::kPath, pk::kUpdatedDate, 1,
                    test::TextBytes(*c.updatedDate, true));
        }
        EXPECT_EQ(UpdateCheckDueAt(c.now, readBack), c.due);
    }
    raw.DeleteTree(pk::kRoot, pk::kPath);
}

// The corner counts the whole frame, borders and title bar, as lying left of
// and above the client area: the menu opens right of and below the button's
// true screen corner by the right and bottom borders.
TEST(MainFormRulesTest, HelpMenuOpensRightAlignedUnderTheHelpButton) {
    const struct {
        const char* what;
        int windowLeft, windowTop, windowWidth, windowHeight;
        int clientWidth, clientHeight;
        int buttonLeft, buttonTop, buttonWidth, buttonHeight;
        int x, y;
    } cases[] = {
        // The main window with 3-pixel borders and a 23-pixel title bar; the
        // Help button at 672, 16, 78 x 27.
        {"main window at 100, 50", 100, 50, 770, 529, 764, 500, 672, 16, 78, 27, 856, 122},
        {"main window at the origin", 0, 0, 770, 529, 764, 500, 672, 16, 78, 27, 756, 72},
        {"main window partly off the screen", -300, -20, 770, 529, 764, 500, 672, 16, 78, 27, 456,
         52},
        // Thick borders and a tall title bar: 8 + 8 across, 8 + 31 + 8 down.
        {"thick frame", 200, 100, 780, 547, 764, 500, 672, 16, 78, 27, 966, 190},
        // A frame that is wider than it is tall, so that a mix-up of the two
        // shows.
        {"odd frame", 10, 20, 800, 510, 764, 500, 1, 2, 30, 4, 77, 36},
    };
    for (const auto& c : cases) {
        const ScreenPoint corner = HelpMenuCorner(
            c.windowLeft, c.windowTop, c.windowWidth, c.windowHeight, c.clientWidth, c.clientHeight,
            c.buttonLeft, c.buttonTop, c.buttonWidth, c.buttonHeight);
        EXPECT_EQ(corner.x, c.x) << c.what;
        EXPECT_EQ(corner.y, c.y) << c.what;
    }
}

}  // namespace
}  // namespace lumora
