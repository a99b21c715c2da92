// The desktop's icon-title font and the LOGFONT conversions, under Windows'
// own system parameters and GDI.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <string>

#include "ui/framework/LogFont_win.h"

namespace lumora {
namespace {

TEST(LogFontTest, IconTitleFontHasAFaceAndASize) {
    const FontSpec font = IconTitleFont();
    EXPECT_FALSE(font.face.empty());
    EXPECT_GE(font.points, 6);
    EXPECT_LE(font.points, 24);
    EXPECT_GT(ScreenDpi(), 0);
}

BOOL WINAPI FailingQuery(UINT, UINT, void*, UINT) {
    return FALSE;
}

TEST(LogFontTest, StockSystemFontWhenTheQueryFails) {
    const LOGFONTW font = IconTitleLogFontWith(FailingQuery);
    LOGFONTW stock{};
    ASSERT_EQ(GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(stock), &stock),
              static_cast<int>(sizeof(stock)));
    EXPECT_STREQ(font.lfFaceName, stock.lfFaceName);
    EXPECT_EQ(font.lfHeight, stock.lfHeight);
    EXPECT_FALSE(FontSpecFromLogFont(font, ScreenDpi()).face.empty());
}

TEST(LogFontTest, LogFontRoundTripsThroughGdi) {
    FontSpec design;
    design.face = L"Tahoma";
    design.points = 10;
    design.style = kFontBold | kFontUnderline;
    const LOGFONTW font = LogFontFromSpec(design, 96);
    EXPECT_EQ(font.lfHeight, -13);
    HFONT handle = CreateFontIndirectW(&font);
    ASSERT_NE(handle, nullptr);
    LOGFONTW back{};
    ASSERT_EQ(GetObjectW(handle, sizeof(back), &back), static_cast<int>(sizeof(back)));
    DeleteObject(handle);
    EXPECT_EQ(FontSpecFromLogFont(back, 96), design);
}

// A desktop font in points: whole pixels at the dpi, with half a point
// rounded down, so that the 96-dpi font scaled to another dpi reads as the
// same size in points.
TEST(LogFontTest, DesktopFontSizesInPoints) {
    const struct {
        LONG height;
        int dpi;
        int points;
    } cases[] = {{-11, 96, 8},  {-13, 96, 10}, {-16, 96, 12}, {-12, 96, 9},  {-10, 96, 7},
                 {-14, 120, 8}, {-15, 120, 9}, {-17, 144, 8}, {-18, 144, 9}, {-11, 0, 8}};
    for (const auto& c : cases) {
        LOGFONTW font{};
        font.lfHeight = c.height;
        EXPECT_EQ(FontSpecFromLogFont(font, c.dpi).points, c.points)
            << c.height << " pixels at " << c.dpi << " dpi";
    }
}

TEST(LogFontTest, LongFaceNamesAreCut) {
    FontSpec design;
    design.face = std::wstring(100, L'x');
    design.points = 9;
    const LOGFONTW font = LogFontFromSpec(design, 96);
    EXPECT_EQ(FontSpecFromLogFont(font, 96).face, std::wstring(LF_FACESIZE - 1, L'x'));
    // A face name that fills the whole array without a terminator.
    LOGFONTW full = font;
    std::fill(std::begin(full.lfFaceName), std::end(full.lfFaceName), L'y');
    EXPECT_EQ(FontSpecFromLogFont(full, 96).face, std::wstring(LF_FACESIZE, L'y'));
}

// Fonts that draw alike: face without regard to case, size and style; the
// character set only where both name one; pitch, family and quality not.
TEST(LogFontTest, FontsThatDrawAlike) {
    LOGFONTW base{};
    base.lfHeight = -11;
    base.lfWeight = FW_NORMAL;
    base.lfCharSet = ANSI_CHARSET;
    base.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    wcscpy(base.lfFaceName, L"MS Shell Dlg");
    const struct {
        const char* change;
        void (*apply)(LOGFONTW&);
        bool alike;
    } cases[] = {
        {"nothing", [](LOGFONTW&) {}, true},
        {"face in capitals", [](LOGFONTW& f) { wcscpy(f.lfFaceName, L"MS SHELL DLG"); }, true},
        {"default character set", [](LOGFONTW& f) { f.lfCharSet = DEFAULT_CHARSET; }, true},
        {"pitch and family", [](LOGFONTW& f) { f.lfPitchAndFamily = 0; }, true},
        {"quality", [](LOGFONTW& f) { f.lfQuality = ANTIALIASED_QUALITY; }, true},
        {"another face", [](LOGFONTW& f) { wcscpy(f.lfFaceName, L"Tahoma"); }, false},
        {"a longer face", [](LOGFONTW& f) { wcscpy(f.lfFaceName, L"MS Shell Dlg 2"); }, false},
        {"no face", [](LOGFONTW& f) { f.lfFaceName[0] = L'\0'; }, false},
        {"height", [](LOGFONTW& f) { f.lfHeight = -12; }, false},
        {"cell height", [](LOGFONTW& f) { f.lfHeight = 11; }, false},
        {"width", [](LOGFONTW& f) { f.lfWidth = 5; }, false},
        {"bold", [](LOGFONTW& f) { f.lfWeight = FW_BOLD; }, false},
        {"italic", [](LOGFONTW& f) { f.lfItalic = TRUE; }, false},
        {"underline", [](LOGFONTW& f) { f.lfUnderline = TRUE; }, false},
        {"strike-out", [](LOGFONTW& f) { f.lfStrikeOut = TRUE; }, false},
        {"escapement", [](LOGFONTW& f) { f.lfEscapement = 900; }, false},
        {"another character set", [](LOGFONTW& f) { f.lfCharSet = GREEK_CHARSET; }, false},
    };
    for (const auto& c : cases) {
        LOGFONTW other = base;
        c.apply(other);
        EXPECT_EQ(DrawAlike(base, other), c.alike) << c.change;
        EXPECT_EQ(DrawAlike(other, base), c.alike) << c.change << ", the other way round";
    }
}

TEST(LogFontTest, FontHandlesDrawAlikeOnlyWhenBothCanBeRead) {
    FontSpec design;
    design.face = L"Tahoma";
    design.points = 8;
    const LOGFONTW font = LogFontFromSpec(design, 96);
    HFONT one = CreateFontIndirectW(&font);
    HFONT other = CreateFontIndirectW(&font);
    ASSERT_NE(one, nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(DrawAlike(one, other));
    EXPECT_FALSE(DrawAlike(one, nullptr));
    EXPECT_FALSE(DrawAlike(nullptr, other));
    // A handle of another kind of object.
    EXPECT_FALSE(DrawAlike(one, static_cast<HFONT>(GetStockObject(WHITE_BRUSH))));
    DeleteObject(one);
    DeleteObject(other);
}

}  // namespace
}  // namespace lumora
