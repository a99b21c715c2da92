// The hint window against the real tooltip control: which tooltips exist and
// where, the tool they carry, and the application's hint-change handler.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/NativeHintWindow.h"
#include "ui/framework/Application.h"

namespace lumora {
namespace {

constexpr wchar_t kTargetClass[] = L"LumoraHintTestTarget";

// A plain top-level window of this process for the hints to point at.
HWND CreateTarget(int left, int top, int width, int height) {
    WNDCLASSW wc{};
    if (!GetClassInfoW(GetModuleHandleW(nullptr), kTargetClass, &wc)) {
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kTargetClass;
        RegisterClassW(&wc);
    }
    return CreateWindowExW(WS_EX_TOOLWINDOW, kTargetClass, L"target", WS_POPUP | WS_VISIBLE, left,
                           top, width, height, nullptr, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
}

BOOL CALLBACK CollectTooltip(HWND window, LPARAM found) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (std::wstring(name) == TOOLTIPS_CLASSW && IsWindowVisible(window)) {
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    }
    return TRUE;
}

// The visible tooltips of this thread.
std::vector<HWND> VisibleTooltips() {
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), CollectTooltip, reinterpret_cast<LPARAM>(&found));
    return found;
}

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// Where the tooltip's text area begins on the screen.
POINT ClientOrigin(HWND window) {
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    return origin;
}

RECT MonitorRect(POINT point) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcMonitor;
}

// Dispatches messages, timers included, until |done| or about |ms| passed.
bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return true;
}

RECT HintAt(int x, int y) {
    return RECT{x, y, x + 10, y + 10};
}

// The handler a test installs, to be found again by its address.
int markerCalls = 0;
void MarkerHandler() {
    ++markerCalls;
}

class NativeHintWindowTest : public testing::Test {
  protected:
    // One target for all tests: Wine takes a while to take a window off the
    // screen where no window manager answers.
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        InstallNativeHintWindow();
        target_ = CreateTarget(100, 100, 400, 300);
    }
    static void TearDownTestSuite() { DestroyWindow(target_); }
    void SetUp() override {
        ASSERT_NE(target_, nullptr);
        markerCalls = 0;
        app().SetHintChangedHandler(&MarkerHandler);
    }
    void TearDown() override {
        app().SetHintChangedHandler(nullptr);
        app().HintTextUnderPointer(L"");
        app().CancelHint();
    }
    static Application& app() { return Application::Instance(); }

    static HWND target_;
};

HWND NativeHintWindowTest::target_ = nullptr;

TEST_F(NativeHintWindowTest, ShowsAVisibleTrackingTooltipOneBelowThePoint) {
    THintWindowFix hint(app());
    hint.ActivateHint(HintAt(200, 200), L"Save the settings");
    HWND tooltip = hint.TooltipHandle();
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(VisibleTooltips(), std::vector<HWND>{tooltip});
    EXPECT_EQ(hint.Text(), L"Save the settings");
    EXPECT_NE(GetWindowLongW(tooltip, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetWindowLongW(tooltip, GWL_STYLE) & (TTS_NOPREFIX | TTS_ALWAYSTIP),
              TTS_NOPREFIX | TTS_ALWAYSTIP);
    EXPECT_EQ(ClientOrigin(tooltip).x, 200);
    EXPECT_EQ(ClientOrigin(tooltip).y, 201);

    // One tool, described by the record of this build, on the window under
    // the point.
    EXPECT_EQ(kHintToolRecordSize, sizeof(void*) == 8 ? 72u : 48u);
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
    wchar_t text[128] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = kHintToolRecordSize;
    tool.lpszText = text;
    ASSERT_TRUE(SendMessageW(tooltip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_EQ(tool.uFlags & (TTF_SUBCLASS | TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT),
              static_cast<UINT>(TTF_SUBCLASS | TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT));
    EXPECT_EQ(tool.hwnd, target_);
    EXPECT_EQ(tool.uId, 0u);
    EXPECT_EQ(std::wstring(text), L"Save the settings");
}

TEST_F(NativeHintWindowTest, TheSameTextKeepsItsTooltipAndAnotherReplacesIt) {
    THintWindowFix hint(app());
    hint.ActivateHint(HintAt(200, 200), L"Optimize now");
    HWND first = hint.TooltipHandle();
    ASSERT_NE(first, nullptr);

    hint.ActivateHint(HintAt(250, 260), L"Optimize now");
    EXPECT_EQ(hint.TooltipHandle(), first);
    EXPECT_EQ(VisibleTooltips(), std::vector<HWND>{first});
    EXPECT_EQ(ClientOrigin(first).x, 200) << "the kept tooltip does not move";

    hint.ActivateHint(HintAt(200, 200), L"Optimize now ");
    HWND second = hint.TooltipHandle();
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(VisibleTooltips(), std::vector<HWND>{second});

    hint.ReleaseHandle();
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(hint.TooltipHandle(), nullptr);
    EXPECT_TRUE(VisibleTooltips().empty());

    // Once released, the same text shows again in a new tooltip.
    hint.ActivateHint(HintAt(200, 200), L"Optimize now ");
    EXPECT_NE(hint.TooltipHandle(), nullptr);
    EXPECT_EQ(VisibleTooltips().size(), 1u);
}

// Wine's tooltip keeps a tracking tooltip on the screen by itself and does
// not answer TTM_ADJUSTRECT; the placement rules are tested natively, here
// only what the two together do.
TEST_F(NativeHintWindowTest, StaysOnTheMonitorNearItsEdges) {
    const RECT monitor = MonitorRect(POINT{200, 200});
    THintWindowFix hint(app());

    // Near the bottom: above the pointer.
    const POINT pointer{300, monitor.bottom - 10};
    ASSERT_TRUE(SetCursorPos(pointer.x, pointer.y));
    POINT actual{};
    GetCursorPos(&actual);
    ASSERT_EQ(actual.y, pointer.y) << "the pointer cannot be moved here";
    const std::wstring text = L"Restore the saved settings";
    hint.ActivateHint(HintAt(300, monitor.bottom - 5), text);
    ASSERT_NE(hint.TooltipHandle(), nullptr);
    RECT frame{0, 0, 0, 0};
    SendMessageW(hint.TooltipHandle(), TTM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&frame));
    const int height = hint.CalcHintRect(0, text, nullptr).bottom + frame.bottom - frame.top;
    const POINT above = ClientOrigin(hint.TooltipHandle());
    EXPECT_EQ(above.x, 300);
    EXPECT_EQ(above.y, pointer.y - height + 1);

    // Across the right edge: moved left, inside the monitor.
    hint.ActivateHint(HintAt(monitor.right - 20, 200), L"Check for updates");
    ASSERT_NE(hint.TooltipHandle(), nullptr);
    const RECT atEdge = WindowRect(hint.TooltipHandle());
    EXPECT_LE(atEdge.right, monitor.right);
    EXPECT_LT(atEdge.left, monitor.right - 20);
    EXPECT_EQ(ClientOrigin(hint.TooltipHandle()).y, 201);
}

// What the tooltip adds to the measured text is the same for every text: the
// hint window measures in the tooltip's font and breaks lines as it does.
TEST_F(NativeHintWindowTest, MeasuresTextAsTheTooltipDrawsIt) {
    const HintSize one = MeasureHintLine(L"Save the settings");
    EXPECT_GT(one.width, 0);
    EXPECT_GT(one.height, 0);
    const HintSize two = MeasureHintText(L"Save the settings\r\nSave", 0);
    EXPECT_EQ(two.width, one.width);
    EXPECT_EQ(two.height, 2 * one.height);

    THintWindowFix hint(app());
    const RECT measured = hint.CalcHintRect(10, L"Save the settings", nullptr);
    EXPECT_EQ(measured.right, one.width) << "the maximum width is not used";
    EXPECT_EQ(measured.bottom, one.height);

    const std::wstring texts[] = {L"Go", L"Save the settings", L"Save the settings\r\nSave",
                                  L"WWW WWW WWW WWW WWW WWW WWW\r\ni\r\nSecond line"};
    std::vector<SIZE> extra;
    for (const std::wstring& text : texts) {
        hint.ActivateHint(HintAt(200, 200), text);
        ASSERT_NE(hint.TooltipHandle(), nullptr);
        RECT client{};
        GetClientRect(hint.TooltipHandle(), &client);
        const HintSize size = MeasureHintText(text, 0);
        extra.push_back(SIZE{client.right - size.width, client.bottom - size.height});
    }
    for (const SIZE& each : extra) {
        EXPECT_EQ(each.cx, extra.front().cx);
        EXPECT_EQ(each.cy, extra.front().cy);
    }
}

TEST_F(NativeHintWindowTest, ABlankShortHintDestroysTheTooltip) {
    THintWindowFix hint(app());
    const auto showAndChangeHintTo = [&](const std::wstring& hintText) {
        hint.ActivateHint(HintAt(200, 200), L"Help");
        app().HintTextUnderPointer(hintText);
        app().CancelHint();  // no timer left behind to show it
        return hint.TooltipHandle() != nullptr && IsWindow(hint.TooltipHandle());
    };
    EXPECT_TRUE(showAndChangeHintTo(L"Help|Opens the help file"));
    EXPECT_TRUE(showAndChangeHintTo(L" x |"));
    EXPECT_FALSE(showAndChangeHintTo(L"   |Opens the help file"));
    EXPECT_FALSE(showAndChangeHintTo(L"|Opens the help file"));
    EXPECT_FALSE(showAndChangeHintTo(L" \t "));
    EXPECT_FALSE(showAndChangeHintTo(L""));
    EXPECT_TRUE(VisibleTooltips().empty());
    EXPECT_EQ(markerCalls, 0) << "the handler it replaced is not called";
}

TEST_F(NativeHintWindowTest, DestructionRestoresTheHandlerItReplaced) {
    const UINT doubleClick = GetDoubleClickTime();
    HWND lastTooltip = nullptr;
    {
        THintWindowFix hint(app());
        EXPECT_EQ(app().HintChangedHandler().target<void (*)()>(), nullptr);
        EXPECT_EQ(LiveHintWindows(), std::vector<THintWindowFix*>{&hint});
        EXPECT_EQ(app().HintPause(), doubleClick);
        EXPECT_EQ(app().HintShortPause(), doubleClick / 5);
        EXPECT_EQ(app().HintHidePause(), 10 * doubleClick);

        for (int i = 0; i < 40; ++i) {
            hint.ActivateHint(HintAt(200 + i, 200), L"Hint " + std::to_wstring(i % 7));
            app().HintTextUnderPointer(i % 3 == 0 ? L" |long" : L"Hint " + std::to_wstring(i));
            app().CancelHint();
        }
        hint.ActivateHint(HintAt(200, 200), L"Last hint");
        lastTooltip = hint.TooltipHandle();
        ASSERT_NE(lastTooltip, nullptr);
    }
    void (*const* restored)() = app().HintChangedHandler().target<void (*)()>();
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(*restored, &MarkerHandler);
    EXPECT_TRUE(LiveHintWindows().empty());
    // The tooltip it showed goes with it.
    EXPECT_FALSE(IsWindow(lastTooltip));
    EXPECT_EQ(markerCalls, 0);
}

TEST_F(NativeHintWindowTest, NestedHintWindowsHandTheHandlerBackInTurn) {
    auto outer = std::make_unique<THintWindowFix>(app());
    auto inner = std::make_unique<THintWindowFix>(app());
    EXPECT_EQ(LiveHintWindows(), (std::vector<THintWindowFix*>{outer.get(), inner.get()}));
    inner.reset();
    EXPECT_EQ(LiveHintWindows(), std::vector<THintWindowFix*>{outer.get()});
    // The outer one's handler is back: a blank hint releases its tooltip.
    outer->ActivateHint(HintAt(200, 200), L"Outer");
    app().HintTextUnderPointer(L" ");
    EXPECT_EQ(outer->TooltipHandle(), nullptr);
    outer.reset();
    void (*const* restored)() = app().HintChangedHandler().target<void (*)()>();
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(*restored, &MarkerHandler);
}

// The application with the hint window installed: it makes a THintWindowFix
// when it first shows a hint, and hiding the hint destroys the tooltip.
TEST_F(NativeHintWindowTest, TheApplicationShowsAndHidesItsHintsInTooltips) {
    ASSERT_TRUE(SetCursorPos(200, 200));
    app().HintTextUnderPointer(L"Go|Optimizes the settings");
    ASSERT_TRUE(PumpUntil([] { return !VisibleTooltips().empty(); }, 5000));
    const std::vector<THintWindowFix*> live = LiveHintWindows();
    ASSERT_EQ(live.size(), 1u);
    EXPECT_EQ(live.front()->Text(), L"Go");
    HWND tooltip = live.front()->TooltipHandle();
    EXPECT_EQ(VisibleTooltips(), std::vector<HWND>{tooltip});

    app().CancelHint();
    EXPECT_FALSE(IsWindow(tooltip));
    EXPECT_TRUE(VisibleTooltips().empty());

    // Installing again drops the application's hint window, which hands the
    // handler back.
    app().HintTextUnderPointer(L"");
    InstallNativeHintWindow();
    EXPECT_TRUE(LiveHintWindows().empty());
    void (*const* restored)() = app().HintChangedHandler().target<void (*)()>();
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(*restored, &MarkerHandler);
}

}  // namespace
}  // namespace lumora
