// Window art as the image components load and paint it, under Wine: run-
// length compressed palette bitmaps (the form the shipped art takes), plain
// 24-bit ones, and compressed ones whose headers must be refused. The
// pixels are read back from the screen.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/ui/framework/ArtLoadingIds.h"
#include "ui/framework/FormWindow.h"

namespace lumora {
namespace {

constexpr COLORREF kRed = RGB(200, 40, 40);
constexpr COLORREF kBlue = RGB(40, 80, 200);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// Images side by side, 40 px apart, on the button-face ground.
class ArtForm : public FormWindow {
  public:
    ArtForm() : FormWindow(L"ArtForm", L"TLumoraArtTestForm") {}
    bool Create() {
        if (!CreateForm(L"art", WS_POPUP, WS_EX_TOPMOST, 320, 40, nullptr)) {
            return false;
        }
        int left = 0;
        Image* image = images_;
        for (int resource :
             {IDB_TEST_STRIPES_RLE8, IDB_TEST_STRIPES_RGB24, IDB_TEST_TOO_MANY_COLOURS,
              IDB_TEST_TOP_DOWN, IDB_TEST_WIDE, IDB_TEST_NO_END}) {
            Add(*image++, {{L"Image" + std::to_wstring(resource), left, 0, 8, 4}, resource});
            left += 40;
        }
        // The compressed stripes again, stretched to twice their size.
        Add(*image, {{L"Stretched", 280, 0, 16, 8}, IDB_TEST_STRIPES_RLE8});
        return true;
    }

  private:
    Image images_[7];
};

class ArtLoadingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(form_.Create());
        ShowWindow(form_.Handle(), SW_SHOWNOACTIVATE);
        UpdateWindow(form_.Handle());
        GdiFlush();
        ground_ = GetSysColor(COLOR_BTNFACE);
    }

    // The colour on the screen at a client point of the form.
    COLORREF At(int x, int y) const {
        POINT point{x, y};
        ClientToScreen(form_.Handle(), &point);
        HDC screen = GetDC(nullptr);
        const COLORREF colour = GetPixel(screen, point.x, point.y);
        ReleaseDC(nullptr, screen);
        return colour;
    }

    ArtForm form_;
    COLORREF ground_ = 0;
};

TEST_F(ArtLoadingTest, CompressedAndPlainArtShowTheirPixels) {
    for (int left : {0, 40}) {
        SCOPED_TRACE(left);
        for (int x : {0, 3, 7}) {
            EXPECT_EQ(At(left + x, 0), kRed);
            EXPECT_EQ(At(left + x, 1), kRed);
            EXPECT_EQ(At(left + x, 2), kBlue);
            EXPECT_EQ(At(left + x, 3), kBlue);
        }
        EXPECT_EQ(At(left + 8, 0), ground_);  // nothing beyond the image
    }
    // Stretched: the middle of each band keeps its colour.
    EXPECT_EQ(At(288, 1), kRed);
    EXPECT_EQ(At(288, 6), kBlue);
}

TEST_F(ArtLoadingTest, RefusedHeadersLeaveTheGround) {
    for (int left : {80, 120, 160}) {
        SCOPED_TRACE(left);
        for (int y : {0, 3}) {
            EXPECT_EQ(At(left, y), ground_);
            EXPECT_EQ(At(left + 7, y), ground_);
        }
    }
}

TEST_F(ArtLoadingTest, DataEndingEarlyPaintsOnlyItsPaletteOrTheGround) {
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 4; ++y) {
            const COLORREF colour = At(200 + x, y);
            EXPECT_TRUE(colour == ground_ || colour == kBlack || colour == kRed || colour == kBlue)
                << x << "," << y << ": " << std::hex << colour;
        }
    }
}

}  // namespace
}  // namespace lumora
