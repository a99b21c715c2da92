// Date stamps through Wine's own locale services, in two regional settings.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>

#include "registry/DateText.h"

namespace lumora {
namespace {

constexpr std::uint32_t kEnglishUs = 0x0409;
constexpr std::uint32_t kGerman = 0x0407;
const std::wstring kExampleStamp = L"1449626052";  // 9 December 2015 01:54:12

// Windows writes German short dates as dd.MM.yyyy; Wine's locale data says
// d.M.yyyy. Both are the locale's own form, so both are accepted.
std::wstring WithoutLeadingZeros(const std::wstring& germanDate) {
    std::wstring text;
    for (std::size_t i = 0; i < germanDate.size(); ++i) {
        const bool fieldStart = i == 0 || germanDate[i - 1] == L'.';
        if (!(fieldStart && germanDate[i] == L'0' && i + 1 < germanDate.size() &&
              germanDate[i + 1] != L'.')) {
            text.push_back(germanDate[i]);
        }
    }
    return text;
}

// For messages: the text with every character outside ASCII as "?".
std::string Ascii(const std::wstring& text) {
    std::string ascii;
    for (wchar_t c : text) {
        ascii.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?');
    }
    return ascii;
}

TEST(DateTextTest, LocalTextInTwoLocales) {
    const struct {
        std::uint32_t locale;
        const wchar_t* stored;
        const wchar_t* expected;
    } cases[] = {
        /* 0 */ {kEnglishUs, L"0", L"1/1/1970"},
        /* 1 */ {kGerman, L"0", L"01.01.1970"},
        /* 2 */ {kEnglishUs, kExampleStamp.c_str(), L"12/9/2015 1:54:12 AM"},
        /* 3 */ {kGerman, kExampleStamp.c_str(), L"09.12.2015 01:54:12"},
        /* 4 */ {kEnglishUs, L"2147483647", L"1/19/2038 3:14:07 AM"},
        /* 5 */ {kEnglishUs, L"-2147483648", L"12/13/1901 8:45:52 PM"},
        // Texts with ":" or "/" pass through; anything else that is not a
        // stamp gives the empty text.
        /* 6 */ {kGerman, L"12/09/2015", L"12/09/2015"},
        /* 7 */ {kEnglishUs, L"", L""},
        /* 8 */ {kEnglishUs, L"abc", L""},
        /* 9 */ {kEnglishUs, L"2147483648", L""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::wstring got = DateStampToLocalTextFor(cases[i].stored, cases[i].locale);
        if (cases[i].locale == kGerman && got != cases[i].expected) {
            EXPECT_EQ(got, WithoutLeadingZeros(cases[i].expected)) << "case " << i;
        } else {
            EXPECT_EQ(got, cases[i].expected) << "case " << i;
        }
    }
}

TEST(DateTextTest, LocalTextToDateReadsEachLocalesOwnForms) {
    const double example = 42347.0 + (1 * 3600 + 54 * 60 + 12) / 86400.0;
    const struct {
        std::uint32_t locale;
        const wchar_t* text;
        std::optional<double> expected;
    } cases[] = {
        /* 0 */ {kEnglishUs, L"12/9/2015 1:54:12 AM", example},
        /* 1 */ {kGerman, L"09.12.2015 01:54:12", example},
        /* 2 */ {kEnglishUs, L"12/9/2015", 42347.0},
        /* 3 */ {kGerman, L"09.12.2015", 42347.0},
        /* 4 */ {kEnglishUs, L"1/1/1970", 25569.0},
        /* 5 */ {kEnglishUs, L"not a date", std::nullopt},
        /* 6 */ {kEnglishUs, L"", std::nullopt},
        /* 7 */ {kGerman, L"31.02.2015", std::nullopt},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::optional<double> got = LocalTextToDateFor(cases[i].text, cases[i].locale);
        ASSERT_EQ(got.has_value(), cases[i].expected.has_value()) << "case " << i;
        if (got) {
            EXPECT_NEAR(*got, *cases[i].expected, 0.5 / 86400) << "case " << i;
        }
    }
}

TEST(DateTextTest, DisplayTextUsesTheDisplayLocalesLongFormats) {
    EXPECT_EQ(DateStampToDisplayTextFor(kExampleStamp, kEnglishUs, kEnglishUs),
              L"Wednesday, December 9, 2015 - 1:54:12 AM");
    EXPECT_EQ(DateStampToDisplayTextFor(kExampleStamp, kGerman, kGerman),
              L"Mittwoch, 9. Dezember 2015 - 01:54:12");
    // Read with the user's settings, shown with the system's.
    EXPECT_EQ(DateStampToDisplayTextFor(kExampleStamp, kGerman, kEnglishUs),
              L"Wednesday, December 9, 2015 - 1:54:12 AM");
    EXPECT_EQ(DateStampToDisplayTextFor(L"0", kEnglishUs, kEnglishUs),
              L"Thursday, January 1, 1970 - 12:00:00 AM");
    EXPECT_EQ(DateStampToDisplayTextFor(L"12/09/2015", kEnglishUs, kEnglishUs),
              L"Wednesday, December 9, 2015 - 12:00:00 AM");
    for (const wchar_t* unreadable : {L"", L"abc", L"13/45/2015", L"99:99"}) {
        EXPECT_EQ(DateStampToDisplayTextFor(unreadable, kEnglishUs, kEnglishUs), L"")
            << std::wstring(unreadable).size();
    }
}

// Where a locale's formats keep the whole moment, a stamp reads back as
// itself without the locale-aware parser: the same date the parser reads
// from the stamp's local text, in every locale here.
TEST(DateTextTest, StampsReadBackAsTheParserReadsTheirLocalText) {
    const std::uint32_t locales[] = {kEnglishUs,         kGerman,
                                     0x0809 /* en-GB */, 0x0C09 /* en-AU */,
                                     0x040C /* fr-FR */, 0x0C0A /* es-ES */,
                                     0x0410 /* it-IT */, 0x0413 /* nl-NL */,
                                     0x0416 /* pt-BR */, 0x041D /* sv-SE */,
                                     0x0406 /* da-DK */, 0x0414 /* nb-NO */,
                                     0x040B /* fi-FI */, 0x0415 /* pl-PL */,
                                     0x0405 /* cs-CZ */, 0x040E /* hu-HU */,
                                     0x0419 /* ru-RU */, 0x041F /* tr-TR */,
                                     0x040D /* he-IL */, 0x0401 /* ar-SA */,
                                     0x041E /* th-TH */, 0x0411 /* ja-JP */,
                                     0x0804 /* zh-CN */, 0x0412 /* ko-KR */};
    const std::wstring stamps[] = {L"0",
                                   kExampleStamp,
                                   L"2147483647",
                                   L"-2147483648",
                                   L"946684800" /* 1 January 2000, midnight */,
                                   L"946729800" /* 12:30:00 */,
                                   L"946686615" /* 00:30:15 */,
                                   L"946771199" /* 23:59:59 */,
                                   L"1709211909" /* 29 February 2024 13:05:09 */,
                                   L"+7",
                                   L"-86400",
                                   L"12/09/2015 01:54:12",
                                   L"",
                                   L"abc",
                                   L"2147483648"};
    int wholeLocales = 0;
    for (std::uint32_t locale : locales) {
        wholeLocales += StampsReadBackWhole(locale) ? 1 : 0;
        for (const std::wstring& stored : stamps) {
            const std::wstring text = DateStampToLocalTextFor(stored, locale);
            SCOPED_TRACE(testing::Message() << "locale " << std::hex << locale << std::dec
                                            << ", local text \"" << Ascii(text) << "\"");
            const std::optional<double> parsed = LocalTextToDateFor(text, locale);
            const std::optional<double> read = StoredDateFor(stored, locale);
            ASSERT_EQ(read.has_value(), parsed.has_value());
            if (read) {
                EXPECT_EQ(DateTimeFromDayCount(*read), DateTimeFromDayCount(*parsed));
                EXPECT_NEAR(*read, *parsed, 0.001 / 86400);
            }
        }
    }
    // The user locales of the tests (English and German) need no parser.
    EXPECT_TRUE(StampsReadBackWhole(kEnglishUs));
    EXPECT_TRUE(StampsReadBackWhole(kGerman));
    EXPECT_GE(wholeLocales, 2);
    EXPECT_EQ(StoredDate(kExampleStamp), StoredDateFor(kExampleStamp, GetUserDefaultLCID()));
}

TEST(DateTextTest, PlainCallsUseTheUserAndSystemDefaults) {
    EXPECT_EQ(DateStampToLocalText(kExampleStamp),
              DateStampToLocalTextFor(kExampleStamp, GetUserDefaultLCID()));
    EXPECT_EQ(
        DateStampToDisplayText(kExampleStamp),
        DateStampToDisplayTextFor(kExampleStamp, GetUserDefaultLCID(), GetSystemDefaultLCID()));
    const LocalDateTime now = CurrentLocalTime();
    SYSTEMTIME st{};
    GetLocalTime(&st);
    EXPECT_EQ(now.year, st.wYear);
    EXPECT_TRUE(IsValidDateTime(now));
}

}  // namespace
}  // namespace lumora
