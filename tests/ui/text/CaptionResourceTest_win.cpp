// The caption tables as resources of the running executable: the lookup by
// name, the bounds of a resource and the ANSI code page, under Windows' own
// resource and code page services.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry/CustomRegistry.h"
#include "registry/ProgramKey.h"
#include "tests/support/RawRegistry.h"
#include "ui/Captions.h"
#include "ui/text/CaptionDecoding.h"
#include "ui/text/CaptionResource.h"

namespace lumora {
namespace {

TEST(CaptionResourceTest, NamesMatchWithoutCase) {
    for (const wchar_t* name : {L"ENGLISH", L"english", L"EnGlIsH"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        const auto table = ReadCaptionResource(name);
        ASSERT_TRUE(table.has_value());
        EXPECT_EQ(table->rfind(L"LMMainForm, LMMainForm, ", 0), 0u);
    }
    for (const wchar_t* name : {L"french", L"", L"englis", L"english2"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        EXPECT_FALSE(ReadCaptionResource(name).has_value());
    }
}

TEST(CaptionResourceTest, AnsiTableDecodesAsTheNativeBuildDoes) {
    if (GetACP() != 1252) {
        GTEST_SKIP() << "the ANSI code page here is " << GetACP() << ", not 1252";
    }
    std::vector<std::uint8_t> high;
    for (int b = 0x80; b <= 0xFF; ++b) {
        high.push_back(static_cast<std::uint8_t>(b));
    }
    const auto table = ReadCaptionResource(L"sample");
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(*table, L"Sample, Bytes, \"" + DecodeWindows1252(high.data(), high.size()) +
                          L"\"\r\nSample, Text, \"Gr\u00fc\u00dfe \u00a9\"");
}

TEST(CaptionResourceTest, MarkedTableAndResourceBounds) {
    EXPECT_EQ(ReadCaptionResource(L"utf16sample"), L"Sample, Text, \"Gr\u00fc\u00dfe \u00a9\"");
    // The unterminated quote runs to the end of the resource, not beyond.
    EXPECT_EQ(ReadCaptionResource(L"unterminated"), L"Sample, Open, \"the field runs on");
}

TEST(CaptionResourceTest, LanguageValueInAnyCaseChoosesTheResource) {
    test::RawRegistry raw;
    const auto setLanguage = [&raw](const std::wstring& language) {
        raw.Put(program_key::kRoot, program_key::kPath, program_key::kLanguage, reg::kSz,
                test::TextBytes(language, true));
    };
    setLanguage(L"Utf16Sample");
    EXPECT_EQ(GetCaption(L"sample", L"TEXT"), L"Gr\u00fc\u00dfe \u00a9");
    EXPECT_EQ(GetCaption(L"LMMainForm", L"GoButton"), L"");
    setLanguage(L"UNTERMINATED");
    EXPECT_EQ(GetCaption(L"Sample", L"Open"), L"the field runs on");
    setLanguage(L"eNgLiSh");
    EXPECT_EQ(GetCaption(L"LMMainForm", L"GoButton"), L"&Optimize now");
    setLanguage(L"klingon");
    EXPECT_EQ(GetCaption(L"LMMainForm", L"GoButton"), L"");
    DeleteRegValue(program_key::kRoot, program_key::kPath, program_key::kLanguage, false);
}

}  // namespace
}  // namespace lumora
