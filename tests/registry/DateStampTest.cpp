#include <gtest/gtest.h>

#include <limits>

#include "registry/DateStamp.h"
#include "registry/DateText.h"

namespace lumora {
namespace {

LocalDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return LocalDateTime{y, mo, d, h, mi, s, ms};
}

TEST(DateStampTest, DateStampFromTime) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    const struct {
        LocalDateTime t;
        std::int32_t expected;
    } cases[] = {
        /* 0 */ {At(1970, 1, 1), 0},
        /* 1 */ {At(1970, 1, 1, 0, 0, 1), 1},
        /* 2 */ {At(1969, 12, 31, 23, 59, 59), -1},
        /* 3 */ {At(2015, 12, 9, 1, 54, 12), 1449626052},
        /* 4 */ {At(2000, 2, 29, 12), 951825600},
        // Milliseconds round to the nearest second, an exact half to even.
        /* 5 */ {At(1970, 1, 1, 0, 0, 0, 499), 0},
        /* 6 */ {At(1970, 1, 1, 0, 0, 0, 500), 0},
        /* 7 */ {At(1970, 1, 1, 0, 0, 1, 500), 2},
        /* 8 */ {At(1970, 1, 1, 0, 0, 2, 501), 3},
        /* 9 */ {At(1969, 12, 31, 23, 59, 59, 500), 0},
        /* 10 */ {At(1969, 12, 31, 23, 59, 58, 500), -2},
        // The ends of the 32-bit range, and what lies past them.
        /* 11 */ {At(2038, 1, 19, 3, 14, 7), kMax},
        /* 12 */ {At(2038, 1, 19, 3, 14, 8), kMax},
        /* 13 */ {At(2106, 2, 7, 6, 28, 16), kMax},
        /* 14 */ {At(1901, 12, 13, 20, 45, 52), kMin},
        /* 15 */ {At(1800, 1, 1), kMin},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(DateStampFromTime(cases[i].t), cases[i].expected) << "case " << i;
    }
}

TEST(DateStampTest, StampsAndDayCountsConvertBothWays) {
    EXPECT_DOUBLE_EQ(TimeFromDateStamp(0), 25569.0);
    EXPECT_DOUBLE_EQ(TimeFromDateStamp(43200), 25569.5);
    EXPECT_DOUBLE_EQ(TimeFromDateStamp(-86400), 25568.0);
    EXPECT_EQ(DateTimeFromStamp(1449626052), At(2015, 12, 9, 1, 54, 12));
    EXPECT_EQ(DateTimeFromStamp(std::numeric_limits<std::int32_t>::max()),
              At(2038, 1, 19, 3, 14, 7));
    EXPECT_EQ(DateTimeFromStamp(-1), At(1969, 12, 31, 23, 59, 59));
    for (std::int32_t n : {0, 1, -1, 1449626052, 2147483647, -2147483647 - 1}) {
        EXPECT_EQ(DateStampFromTime(DateTimeFromDayCount(TimeFromDateStamp(n))), n) << n;
    }
    EXPECT_DOUBLE_EQ(DayCountFromDateTime(At(1899, 12, 30)), 0.0);
    EXPECT_DOUBLE_EQ(DayCountFromDateTime(At(1899, 12, 29, 6)), -1.25);
    EXPECT_EQ(DateTimeFromDayCount(-1.25), At(1899, 12, 29, 6));
    EXPECT_EQ(DateTimeFromDayCount(42347.999999999), At(2015, 12, 10));
}

TEST(DateStampTest, ParseDateStampAcceptsOnlyDecimal32BitNumbers) {
    const struct {
        const wchar_t* text;
        std::optional<std::int32_t> expected;
    } cases[] = {
        {L"0", 0},
        {L"1449626052", 1449626052},
        {L"-1", -1},
        {L"+5", 5},
        {L"007", 7},
        {L"2147483647", 2147483647},
        {L"-2147483648", -2147483647 - 1},
        {L"2147483648", std::nullopt},
        {L"-2147483649", std::nullopt},
        {L"99999999999999999999", std::nullopt},
        {L"", std::nullopt},
        {L"-", std::nullopt},
        {L" 1", std::nullopt},
        {L"1 ", std::nullopt},
        {L"12a", std::nullopt},
        {L"0x10", std::nullopt},
        {L"1.5", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseDateStamp(c.text), c.expected) << std::wstring(c.text).size();
    }
    EXPECT_EQ(FormatDateStamp(-2147483647 - 1), L"-2147483648");
    EXPECT_TRUE(IsDateText(L"12/09/2015"));
    EXPECT_TRUE(IsDateText(L"09.12.2015 01:54:12"));
    EXPECT_FALSE(IsDateText(L"09.12.2015"));
}

TEST(DateStampTest, ParseShortDateFollowsThePatternsFieldOrder) {
    const struct {
        const wchar_t* text;
        const wchar_t* pattern;
        std::optional<LocalDateTime> expected;
    } cases[] = {
        /* 0 */ {L"12/9/2015", L"M/d/yyyy", At(2015, 12, 9)},
        /* 1 */ {L"09.12.2015", L"dd.MM.yyyy", At(2015, 12, 9)},
        /* 2 */ {L"2015-12-09", L"yyyy-MM-dd", At(2015, 12, 9)},
        /* 3 */ {L"9.12.15", L"d.M.yy", At(2015, 12, 9)},
        /* 4 */ {L"9.12.75", L"d.M.yy", At(1975, 12, 9)},
        /* 5 */ {L"9.12", L"dd.MM.yyyy", At(2026, 12, 9)},
        /* 6 */ {L"31/02/2015", L"dd/MM/yyyy", std::nullopt},
        /* 7 */ {L"13/13/2015", L"M/d/yyyy", std::nullopt},
        /* 8 */ {L"Dec 9 2015", L"M/d/yyyy", std::nullopt},
        /* 9 */ {L"1/2/3/4", L"M/d/yyyy", std::nullopt},
        /* 10 */ {L"", L"M/d/yyyy", std::nullopt},
        /* 11 */ {L"1/2/2015", L"", std::nullopt},
        /* 12 */ {L"123456789/1/1", L"M/d/yyyy", std::nullopt},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(ParseShortDate(cases[i].text, cases[i].pattern, 2026), cases[i].expected)
            << "case " << i;
    }
}

TEST(DateStampTest, FormatsKeepTheMomentOnlyWithEveryFieldInDigits) {
    const struct {
        const wchar_t* shortDate;
        const wchar_t* time;
        const wchar_t* am;
        bool gregorian;
        bool expected;
    } cases[] = {
        /* 0 */ {L"M/d/yyyy", L"h:mm:ss tt", L"AM", true, true},
        /* 1 */ {L"dd.MM.yyyy", L"HH:mm:ss", L"", true, true},
        /* 2 */ {L"d-M-yyyy", L"H:mm:ss", L"", true, true},
        /* 3 */ {L"yyyy-MM-dd", L"HH:mm:ss", L"", true, true},
        /* 4 */ {L"dd.MM.yyyy", L"HH:mm:ss", L"", false, false},      // another calendar
        /* 5 */ {L"M/d/yy", L"h:mm:ss tt", L"AM", true, false},       // two-digit year
        /* 6 */ {L"dd-MMM-yyyy", L"HH:mm:ss", L"", true, false},      // month by name
        /* 7 */ {L"M/d/yyyy", L"h:mm tt", L"AM", true, false},        // no seconds
        /* 8 */ {L"M/d/yyyy", L"h:mm:ss", L"AM", true, false},        // 12 hours, no marker
        /* 9 */ {L"yyyy/M/d", L"tt h:mm:ss", L"AM", true, false},     // marker first
        /* 10 */ {L"d/M/yyyy", L"h:mm:ss tt", L"a.m.", true, false},  // other markers
        /* 11 */ {L"yyyy'y'M'm'd", L"HH:mm:ss", L"", true, false},    // quoted text
        /* 12 */ {L"d/M/yyyy gg", L"HH:mm:ss", L"", true, false},     // era
        /* 13 */ {L"M/d/yyyy", L"HH:mm:ss tt", L"AM", true, false},
        /* 14 */ {L"M/M/yyyy", L"HH:mm:ss", L"", true, false},
        /* 15 */ {L"d.M.yyyy", L"HH.mm.ss", L"", true, false},  // not read back
        /* 16 */ {L"yyyy. MM. dd.", L"H:mm:ss", L"", true, false},
        /* 17 */ {L"d.M/yyyy", L"H:mm:ss", L"", true, false},
        /* 18 */ {L"", L"", L"", true, false},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::wstring pm = cases[i].am == std::wstring(L"AM") ? L"PM" : L"";
        EXPECT_EQ(FormatsKeepTheMoment(cases[i].shortDate, cases[i].time, cases[i].am, pm,
                                       cases[i].gregorian),
                  cases[i].expected)
            << "case " << i;
    }
}

TEST(DateStampTest, ParseDayCount) {
    EXPECT_EQ(ParseDayCount(L"42347"), 42347.0);
    EXPECT_EQ(ParseDayCount(L"42347.5"), 42347.5);
    EXPECT_EQ(ParseDayCount(L"-1.25"), -1.25);
    EXPECT_EQ(ParseDayCount(L"3000000"), std::nullopt);
    EXPECT_EQ(ParseDayCount(L"1e5"), std::nullopt);
    EXPECT_EQ(ParseDayCount(L"."), std::nullopt);
    EXPECT_EQ(ParseDayCount(L"1.2.3"), std::nullopt);
    EXPECT_EQ(ParseDayCount(L""), std::nullopt);
}

}  // namespace
}  // namespace lumora
