// The windows laid out at the screen's dpi, made here as start-up makes them
// and shown with the shipped captions: no control sticks out of its parent
// or overlaps a sibling, and every label's and button's text fits its box,
// measured with the control's own font. Under Wine the test command runs it
// at 96, 120, 144, 168 and 192 dpi (tests/app/layout-at-dpi.sh);
// LUMORA_EXPECT_DPI then names the dpi the screen must have. A picture of
// each window goes to the build's screenshots folder.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "registry/ProgramKey.h"
#include "tests/support/Automation.h"
#include "tests/support/Process.h"
#include "tests/support/RawRegistry.h"
#include "tests/support/Wine.h"
#include "ui/AboutForm.h"
#include "ui/Captions.h"
#include "ui/SettingsForm.h"
#include "ui/framework/LogFont_win.h"

namespace lumora {
namespace {

namespace pk = program_key;

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::wstring Describe(HWND window) {
    return test::ClassOf(window) + L" \"" + test::WindowText(window) + L"\"";
}

// A window's place in its parent's client area.
RECT PlaceInParent(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string Text(const RECT& rect) {
    return "(" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ") - (" +
           std::to_string(rect.right) + ", " + std::to_string(rect.bottom) + ")";
}

std::vector<HWND> VisibleChildren(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsWindowVisible(child)) {
            children.push_back(child);
        }
    }
    return children;
}

bool IsComboBoxEx(HWND window) {
    return test::ClassOf(window) == WC_COMBOBOXEXW;
}

// Inside |parent|: each visible child lies within it and overlaps none of
// its siblings; panels are looked into in turn. The controls of a list are
// the list's own affair.
void ExpectLaidOut(HWND parent) {
    RECT client{};
    GetClientRect(parent, &client);
    const std::vector<HWND> children = VisibleChildren(parent);
    for (std::size_t i = 0; i < children.size(); ++i) {
        const RECT place = PlaceInParent(children[i]);
        RECT inside{};
        IntersectRect(&inside, &place, &client);
        EXPECT_TRUE(EqualRect(&inside, &place))
            << testing::PrintToString(Describe(children[i])) << " at " << Text(place)
            << " sticks out of " << testing::PrintToString(Describe(parent)) << ", "
            << Text(client);
        for (std::size_t j = i + 1; j < children.size(); ++j) {
            const RECT other = PlaceInParent(children[j]);
            RECT both{};
            EXPECT_FALSE(IntersectRect(&both, &place, &other))
                << testing::PrintToString(Describe(children[i])) << " at " << Text(place)
                << " overlaps " << testing::PrintToString(Describe(children[j])) << " at "
                << Text(other);
        }
        if (!IsComboBoxEx(children[i])) {
            ExpectLaidOut(children[i]);
        }
    }
}

// The text of every label and push button inside |parent| fits its client
// area, measured with the control's own font as the control draws it.
void ExpectTextsFit(HWND parent) {
    for (HWND child : VisibleChildren(parent)) {
        const std::wstring kind = test::ClassOf(child);
        const std::wstring text = test::WindowText(child);
        if ((kind == L"Static" || kind == L"Button") && !text.empty()) {
            RECT client{};
            GetClientRect(child, &client);
            const LONG style = GetWindowLongW(child, GWL_STYLE);
            const bool wraps = kind == L"Static" && (style & SS_TYPEMASK) == SS_LEFT;
            UINT format = DT_CALCRECT | DT_EXPANDTABS;
            format |= wraps ? DT_WORDBREAK : DT_SINGLELINE;
            format |= (kind == L"Static" && (style & SS_NOPREFIX) != 0) ? DT_NOPREFIX : 0;
            // A button keeps a few pixels of edge around its text.
            const int margin = kind == L"Button" ? 4 : 0;
            HDC dc = GetDC(child);
            HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(child, WM_GETFONT, 0, 0));
            HGDIOBJ old = SelectObject(dc, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
            RECT needed{0, 0, wraps ? client.right : 0, 0};
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed, format);
            SelectObject(dc, old);
            ReleaseDC(child, dc);
            EXPECT_LE(needed.right + 2 * margin, client.right)
                << testing::PrintToString(Describe(child)) << " is too narrow for its text";
            EXPECT_LE(needed.bottom + 2 * margin, client.bottom)
                << testing::PrintToString(Describe(child)) << " is too low for its text";
        }
        ExpectTextsFit(child);
    }
}

class LayoutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        raw_.DeleteTree(pk::kRoot, pk::kPath);
        ASSERT_TRUE(main_.Create());
        ASSERT_TRUE(about_.Create(main_.Handle()));
        ASSERT_TRUE(settings_.Create(main_.Handle()));
        main_.SetDialogs(&about_, &settings_);
        dpi_ = ScreenDpi();
    }
    void TearDown() override {
        for (FormWindow* form :
             {static_cast<FormWindow*>(&settings_), static_cast<FormWindow*>(&about_),
              static_cast<FormWindow*>(&main_)}) {
            if (IsWindow(form->Handle())) {
                DestroyWindow(form->Handle());
            }
        }
        Pump();
        raw_.DeleteTree(pk::kRoot, pk::kPath);
    }

    void ExpectWindowLaidOut(HWND window, const wchar_t* name) {
        Pump();
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        SCOPED_TRACE(
            testing::PrintToString(std::wstring(name) + L" at " + std::to_wstring(dpi_) + L" dpi"));
        ExpectLaidOut(window);
        ExpectTextsFit(window);
        const std::wstring folder = test::TestFolder() + L"..\\screenshots\\";
        CreateDirectoryW(folder.c_str(), nullptr);
        test::SaveScreenshot(window, folder + name + L"-" + std::to_wstring(dpi_) + L"dpi.bmp");
    }

    test::RawRegistry raw_;
    TLMMainForm main_;
    TLMAboutForm about_;
    TLMSettingsForm settings_;
    int dpi_ = 96;
};

TEST_F(LayoutTest, TheScreenHasTheDpiAskedFor) {
    const char* expected = std::getenv("LUMORA_EXPECT_DPI");
    if (expected == nullptr) {
        GTEST_SKIP() << "no dpi asked for: the windows are laid out at the screen's, " << dpi_;
    }
    EXPECT_EQ(dpi_, std::atoi(expected));
}

// On Windows the test carries the program's manifest, as Lumora.exe does:
// declared aware of the system's dpi, it is told that dpi rather than 96
// and lays the main window out at it (TheMainWindow checks that layout).
TEST_F(LayoutTest, TheMainWindowHasTheSystemDpiOnWindows) {
    if (test::RunningUnderWine()) {
        GTEST_SKIP() << "under Wine every program has the prefix's dpi whatever its manifest "
                        "says; layout-at-dpi.sh sets that dpi for each run";
    }
    EXPECT_TRUE(IsProcessDPIAware()) << "Windows took no dpi awareness from the manifest";
    using DpiQuery = UINT(WINAPI*)();
    const auto forSystem = reinterpret_cast<DpiQuery>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForSystem")));
    if (forSystem != nullptr) {
        EXPECT_EQ(dpi_, static_cast<int>(forSystem())) << "the system's dpi";
    }
    // The design's 764 x 500 client area at the window's dpi.
    RECT client{};
    GetClientRect(main_.Handle(), &client);
    EXPECT_EQ(client.right, 764 * dpi_ / 96) << "at " << dpi_ << " dpi";
    EXPECT_EQ(client.bottom, 500 * dpi_ / 96) << "at " << dpi_ << " dpi";
}

TEST_F(LayoutTest, TheMainWindow) {
    ShowWindow(main_.Handle(), SW_SHOWNORMAL);
    ExpectWindowLaidOut(main_.Handle(), L"layout-main-window");
}

TEST_F(LayoutTest, TheAboutBox) {
    ShowWindow(about_.Handle(), SW_SHOW);
    ExpectWindowLaidOut(about_.Handle(), L"layout-about-box");
}

TEST_F(LayoutTest, TheProgressDialogWithItsLongestTexts) {
    settings_.ShowOver(main_.Handle());
    settings_.SetHeading(GetCaption(L"LMSettingsForm", L"MessageUpdate"));
    std::wstring longest;
    for (int step = 0; step < 12; ++step) {
        const std::wstring text =
            GetCaption(L"LMSettingsForm", L"MessageChange" + std::to_wstring(step));
        if (text.size() > longest.size()) {
            longest = text;
        }
    }
    ASSERT_FALSE(longest.empty());
    FindComponent(settings_, L"CurrentSettingsLabel")->SetCaption(longest + L" .........");
    ExpectWindowLaidOut(settings_.Handle(), L"layout-progress-dialog");
}

}  // namespace
}  // namespace lumora
