// NormalizeFormFonts over a plain form.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "tests/ui/TestForm.h"
#include "ui/SystemFont.h"

namespace lumora {
namespace {

using test::TestForm;

FontSpec Font(const std::wstring& face, int points, unsigned style = 0,
              std::uint32_t color = kDefaultTextColor) {
    FontSpec font;
    font.face = face;
    font.points = points;
    font.style = style;
    font.color = color;
    return font;
}

TEST(SystemFontTest, NormalizeFormFontsByDesktopFontSize) {
    const std::uint32_t linkBlue = 0x00CC6600;  // RGB(0, 102, 204)
    struct Case {
        const char* what;
        FontSpec desktop;
        FontSpec window;              // after
        std::vector<FontSpec> after;  // for 8 pt, 10 pt bold, 12 pt underlined blue
    };
    const Case cases[] = {
        {"9-point desktop font",
         Font(L"Segoe UI", 9),
         Font(L"Segoe UI", 9),
         {Font(L"Segoe UI", 9), Font(L"Segoe UI", 10, kFontBold),
          Font(L"Segoe UI", 12, kFontUnderline, linkBlue)}},
        {"12-point desktop font is capped",
         Font(L"Verdana", 12, kFontItalic),
         Font(L"Verdana", 9, kFontItalic),
         {Font(L"Verdana", 9), Font(L"Verdana", 10, kFontBold),
          Font(L"Verdana", 12, kFontUnderline, linkBlue)}},
        {"8-point desktop font stays",
         Font(L"Tahoma", 8),
         Font(L"Tahoma", 8),
         {Font(L"Tahoma", 8), Font(L"Tahoma", 10, kFontBold),
          Font(L"Tahoma", 12, kFontUnderline, linkBlue)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestForm form(L"LMAboutForm");
        form.font = c.desktop;
        form.Add(L"Small", ComponentKind::Label).font = Font(L"Tahoma", 8);
        form.Add(L"Bold", ComponentKind::Label).font = Font(L"Tahoma", 10, kFontBold);
        form.Add(L"Link", ComponentKind::Label).font =
            Font(L"Tahoma", 12, kFontUnderline, linkBlue);
        NormalizeFormFonts(form);
        EXPECT_EQ(form.font, c.window);
        for (std::size_t i = 0; i < c.after.size(); ++i) {
            EXPECT_EQ(form.components[i].font, c.after[i]) << form.components[i].name;
        }
    }
}

TEST(SystemFontTest, ParentFontAndFontlessComponentsAreLeftAlone) {
    TestForm form(L"LMMainForm");
    form.font = Font(L"Segoe UI", 9);
    auto& follower = form.Add(L"FollowsParent", ComponentKind::Label);
    follower.parentFont = true;
    follower.font = Font(L"Tahoma", 8, kFontBold);
    auto& image = form.Add(L"Picture", ComponentKind::Other);
    image.hasFont = false;
    image.font = Font(L"Tahoma", 8);
    NormalizeFormFonts(form);
    EXPECT_EQ(form.Named(L"FollowsParent").font, Font(L"Tahoma", 8, kFontBold));
    EXPECT_EQ(form.Named(L"Picture").font, Font(L"Tahoma", 8));
}

// A form whose second component cannot be reached.
struct BrokenForm : TestForm {
    using TestForm::TestForm;
    FontedComponent& FontedComponentAt(std::size_t index) override {
        if (index == 1) {
            throw std::runtime_error("gone");
        }
        return components.at(index);
    }
};

TEST(SystemFontTest, AFailureEndsTheOperationSilently) {
    BrokenForm form(L"LMMainForm");
    form.font = Font(L"Segoe UI", 12);
    form.Add(L"First", ComponentKind::Label).font = Font(L"Tahoma", 8);
    form.Add(L"Second", ComponentKind::Label).font = Font(L"Tahoma", 8);
    form.Add(L"Third", ComponentKind::Label).font = Font(L"Tahoma", 8);
    EXPECT_NO_THROW(NormalizeFormFonts(form));
    EXPECT_EQ(form.font, Font(L"Segoe UI", 9));
    EXPECT_EQ(form.Named(L"First").font, Font(L"Segoe UI", 9));
    EXPECT_EQ(form.Named(L"Third").font, Font(L"Tahoma", 8));
}

}  // namespace
}  // namespace lumora
