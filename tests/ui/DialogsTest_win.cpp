// The progress dialog and the about box, created in the test's own process
// under Wine and looked at as Windows shows them: what is painted into the
// windows, the cursor and the texts.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "registry/CustomRegistry.h"
#include "registry/ProgramKey.h"
#include "tests/support/RawRegistry.h"
#include "ui/AboutForm.h"
#include "ui/SettingsForm.h"

namespace lumora {
namespace {

namespace pk = program_key;

// A component of a window, by the name the caption tables know it by.
template <class T = Control>
T& Named(Form& form, const wchar_t* name) {
    auto* found = dynamic_cast<T*>(FindComponent(form, name));
    if (found == nullptr) {
        throw std::runtime_error("no such component");
    }
    return *found;
}

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// A plain top-level window in the main window's place: it owns the dialogs.
class OwnerWindow {
  public:
    OwnerWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = OwnerProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"LumoraTestOwner";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        RegisterClassW(&wc);
        hwnd_ =
            CreateWindowExW(0, L"LumoraTestOwner", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                            100, 780, 540, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~OwnerWindow() { DestroyWindow(hwnd_); }
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    HWND Handle() const { return hwnd_; }

  private:
    HWND hwnd_ = nullptr;
};

// Dispatches what waits, painting included, until nothing is left.
void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// What has been painted into an area of a window (client coordinates),
// children included, one 0x00RRGGBB value per pixel.
using Pixels = std::vector<DWORD>;
Pixels Capture(HWND window, const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    HDC source = GetDC(window);
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    Pixels pixels;
    if (bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, source, area.left, area.top, SRCCOPY);
        GdiFlush();
        const DWORD* first = static_cast<const DWORD*>(bits);
        std::transform(first, first + static_cast<std::size_t>(width) * height,
                       std::back_inserter(pixels), [](DWORD pixel) { return pixel & 0xFFFFFFu; });
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(window, source);
    return pixels;
}

bool IsDark(DWORD pixel) {
    return (pixel & 0xFF) < 96 && ((pixel >> 8) & 0xFF) < 96 && ((pixel >> 16) & 0xFF) < 96;
}

int DarkCount(const Pixels& pixels) {
    return static_cast<int>(std::count_if(pixels.begin(), pixels.end(), IsDark));
}

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

// The caption language, set for one test and removed after it.
class LanguageTest : public ::testing::Test {
  protected:
    void TearDown() override { DeleteRegValue(pk::kRoot, pk::kPath, pk::kLanguage, false); }
    void SetLanguage(const std::wstring& language) {
        raw_.Put(pk::kRoot, pk::kPath, pk::kLanguage, reg::kSz, test::TextBytes(language, true));
    }
    test::RawRegistry raw_;
};

class ProgressDialogTest : public LanguageTest {
  protected:
    void SetUp() override {
        ASSERT_NE(owner_.Handle(), nullptr);
        ASSERT_TRUE(form_.Create(owner_.Handle()));
    }
    void TearDown() override {
        form_.CloseDialog();
        LanguageTest::TearDown();
    }
    // As a run shows it: the main window disabled, the dialog over it.
    void ShowAsARun() {
        EnableWindow(owner_.Handle(), FALSE);
        form_.ShowOver(owner_.Handle());
        Pump();
    }
    Control& ControlNamed(const wchar_t* name) { return Named(form_, name); }

    OwnerWindow owner_;
    TLMSettingsForm form_;
};

// A step's text changes while the dialog is up: whatever has been painted
// after the change and after each message of its repainting is the old text
// or the new one, complete. Nothing is first wiped, and the new text is never
// drawn over the old one.
TEST_F(ProgressDialogTest, StepTextIsRepaintedWholeWithoutFlicker) {
    ShowAsARun();
    form_.SetHeading(L"Optimizing the computer's system and internet settings");
    Control& label = ControlNamed(L"CurrentSettingsLabel");
    HWND panel = ControlNamed(L"SettingsPanel").Handle();
    const RECT area{0, 80, 479, 146};  // below the bar, around the step text
    const struct {
        const char* what;
        const wchar_t* before;
        const wchar_t* after;
    } cases[] = {
        {"a dot more", L"Finding modem information.", L"Finding modem information.."},
        {"a longer next step", L"Finding modem information...", L"Finding computer information."},
        {"a shorter next step", L"Finding total physical memory installed...",
         L"Finding hardware adapters."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        label.SetCaption(c.before);
        Pump();
        const Pixels before = Capture(panel, area);
        ASSERT_GT(DarkCount(before), 0) << "the old text is painted";

        label.SetCaption(c.after);
        std::vector<Pixels> seen{Capture(panel, area)};
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
            seen.push_back(Capture(panel, area));
        }
        const Pixels after = Capture(panel, area);
        ASSERT_GT(DarkCount(after), 0) << "the new text is painted";
        ASSERT_NE(after, before);
        for (std::size_t i = 0; i < seen.size(); ++i) {
            EXPECT_TRUE(seen[i] == before || seen[i] == after)
                << "painted state " << i << " of " << seen.size() << " is neither text ("
                << DarkCount(seen[i]) << " dark pixels; old " << DarkCount(before) << ", new "
                << DarkCount(after) << ")";
        }
    }
}

TEST_F(ProgressDialogTest, TheHourglassShowsOverTheWholeDialog) {
    ShowAsARun();
    form_.SetHeading(L"Optimizing");
    ControlNamed(L"CurrentSettingsLabel").SetCaption(L"Finding modem information...");
    Pump();
    const HCURSOR arrow = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    const HCURSOR wait = LoadCursorW(nullptr, MAKEINTRESOURCEW(32514));
    for (const wchar_t* name :
         {L"SettingsPanel", L"CurrentSettingsHeading", L"MainProgress", L"CurrentSettingsLabel"}) {
        SCOPED_TRACE(testing::Message() << name);
        HWND window = ControlNamed(name).Handle();
        SetCursor(arrow);
        SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), wait);
    }
}

// The show handler prepares the dialog whenever a run shows it: the title
// from the captions and the bar at 0. When the dialog comes back with the
// main window restored from the task bar, the run goes on where its bar was;
// once the run has closed it, it no longer comes back with the main window.
TEST_F(ProgressDialogTest, ShownByARunAndHiddenAndShownWithTheMainWindow) {
    SetLanguage(L"english");
    const struct {
        const char* what;
        bool ownerEnabled;
        void (*minimize)(HWND);
        void (*restore)(HWND);
    } ways[] = {
        {"task bar commands", true,
         [](HWND owner) { SendMessageW(owner, WM_SYSCOMMAND, SC_MINIMIZE, 0); },
         [](HWND owner) { SendMessageW(owner, WM_SYSCOMMAND, SC_RESTORE, 0); }},
        {"owned windows hidden and shown again", false,
         [](HWND owner) {
             ShowOwnedPopups(owner, FALSE);
             ShowWindow(owner, SW_MINIMIZE);
         },
         [](HWND owner) {
             ShowWindow(owner, SW_RESTORE);
             ShowOwnedPopups(owner, TRUE);
         }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.what);
        form_.SetTitle(L"");
        Named<ProgressBar>(form_, L"MainProgress").SetPosition(70);
        ShowAsARun();
        EXPECT_EQ(form_.Title(), L"Updating computer's system and internet settings");
        EXPECT_EQ(Named<ProgressBar>(form_, L"MainProgress").Position(), 0);

        Named<ProgressBar>(form_, L"MainProgress").SetPosition(42);
        EnableWindow(owner_.Handle(), way.ownerEnabled ? TRUE : FALSE);
        way.minimize(owner_.Handle());
        Pump();
        ASSERT_TRUE(IsIconic(owner_.Handle()));
        ASSERT_FALSE(IsWindowVisible(form_.Handle())) << "hidden with the main window";
        way.restore(owner_.Handle());
        Pump();
        ASSERT_TRUE(IsWindowVisible(form_.Handle())) << "back with the main window";
        EXPECT_EQ(Named<ProgressBar>(form_, L"MainProgress").Position(), 42);

        // The run ends while the main window is minimized.
        way.minimize(owner_.Handle());
        Pump();
        ASSERT_FALSE(IsWindowVisible(form_.Handle()));
        form_.CloseDialog();
        way.restore(owner_.Handle());
        Pump();
        EXPECT_FALSE(IsWindowVisible(form_.Handle())) << "back after the run";
        ShowWindow(owner_.Handle(), SW_RESTORE);
        Pump();
    }
}

class AboutBoxTest : public LanguageTest {
  protected:
    void SetUp() override {
        ASSERT_NE(owner_.Handle(), nullptr);
        ASSERT_TRUE(about_.Create(owner_.Handle()));
    }
    // Shown modally as the main window shows it; closed by the first message
    // it reads.
    void ShowAndClose() {
        PostMessageW(about_.Handle(), WM_CLOSE, 0, 0);
        about_.ShowModalOver(owner_.Handle());
    }

    OwnerWindow owner_;
    TLMAboutForm about_;
};

TEST_F(AboutBoxTest, TheVersionIsShownOnceAtEveryShowing) {
    const struct {
        const wchar_t* language;
        const wchar_t* version;
    } cases[] = {
        {L"english", L"Lumora 2  (Version : 2.9.5.2016)"},
        {L"nocaptions", L"2.9.5.2016)"},  // no table of that name
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.language);
        SetLanguage(c.language);
        for (int showing = 1; showing <= 3; ++showing) {
            SCOPED_TRACE(showing);
            ShowAndClose();
            EXPECT_EQ(TextOf(Named(about_, L"VersionLabel").Handle()), c.version);
        }
    }
}

// The warning's lines stand in the middle of their 70-pixel box: as much
// room above the first painted row as below the last.
TEST_F(AboutBoxTest, TheCopyrightWarningIsCentredVertically) {
    SetLanguage(L"english");
    about_.CentreOver(nullptr);
    ShowWindow(about_.Handle(), SW_SHOW);
    Pump();
    Control& warning = Named(about_, L"CopyrightWarningLabel");
    ASSERT_FALSE(TextOf(warning.Handle()).empty());
    const RECT box = warning.Bounds();
    ASSERT_EQ(box.bottom - box.top, 70);
    const int width = box.right - box.left;
    const Pixels pixels = Capture(Named(about_, L"AboutPanel").Handle(), box);
    std::optional<int> first;
    int last = -1;
    for (int row = 0; row < 70; ++row) {
        const auto begin = pixels.begin() + static_cast<std::ptrdiff_t>(row) * width;
        if (std::any_of(begin, begin + width, IsDark)) {
            first = first.value_or(row);
            last = row;
        }
    }
    ASSERT_TRUE(first.has_value()) << "no text painted";
    const int above = *first;
    const int below = 69 - last;
    EXPECT_LE(std::abs(above - below), 3) << "rows above " << above << ", below " << below;
    ShowWindow(about_.Handle(), SW_HIDE);
}

}  // namespace
}  // namespace lumora
