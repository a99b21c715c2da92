// The test build's Lumora.exe under a person's keyboard and mouse: every key
// and click here goes through SendInput into the system's input stream, so it
// reaches the foreground window and the control with the focus, as a
// person's would. What is asserted is what a person sees: which window is in
// front, which control has the focus, what opened, and the registry.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "registry/ProgramKey.h"
#include "tests/e2e/LumoraDriver.h"
#include "tests/support/Automation.h"
#include "tests/support/Input.h"
#include "tests/support/RawRegistry.h"
#include "ui/framework/WindowClasses.h"

namespace lumora {
namespace {

namespace pk = program_key;
using test::kWindowTimeoutMs;

constexpr wchar_t kOptimize[] = L"&Optimize now";
constexpr wchar_t kRestore[] = L"&Restore";
constexpr wchar_t kUpdates[] = L" &Check for updates ...";
constexpr wchar_t kClose[] = L"&Close";
constexpr wchar_t kHelp[] = L"&Help";
constexpr wchar_t kAboutLink[] = L"About Lumora";
constexpr wchar_t kRestoreQuestionStart[] = L"This will restore all changes";
constexpr wchar_t kRestartQuestionStart[] = L"The changes to the computer's";

// Waits for a condition while this thread answers its own window's messages:
// the other program's activation changes may reach that window.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = kWindowTimeoutMs) {
    return test::WaitUntil(
        [&condition] {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageW(&msg);
            }
            return condition();
        },
        timeoutMs);
}

std::string PointText(POINT point) {
    return "(" + std::to_string(point.x) + ", " + std::to_string(point.y) + ")";
}

// Where the pointer is and what is under it, for a click that did nothing.
std::string PointerPlace() {
    POINT at{};
    GetCursorPos(&at);
    HWND under = WindowFromPoint(at);
    return "pointer at " + PointText(at) + " over " + testing::PrintToString(test::ClassOf(under)) +
           " " + testing::PrintToString(test::WindowText(under));
}

// Another program's window on the screen, behind Lumora: where Windows
// gives the activation when Lumora lets it go.
class OtherProgramWindow {
  public:
    OtherProgramWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"LumoraTestOtherProgram";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        RegisterClassW(&wc);
        hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"Another program", WS_OVERLAPPEDWINDOW, 20,
                                20, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
        ShowWindow(hwnd_, SW_SHOW);
    }
    ~OtherProgramWindow() { DestroyWindow(hwnd_); }
    OtherProgramWindow(const OtherProgramWindow&) = delete;
    OtherProgramWindow& operator=(const OtherProgramWindow&) = delete;

  private:
    HWND hwnd_ = nullptr;
};

class KeyboardMouseTest : public ::testing::Test {
  protected:
    void SetUp() override {
        raw_.DeleteTree(pk::kRoot, pk::kPath);
        test::MovePointer(POINT{1, 1});
    }
    void TearDown() override {
        if (HWND box = test::FindMessageBox(lumora_.Id())) {
            test::PressMessageBoxButton(box, IDCANCEL);
            test::PressMessageBoxButton(box, IDNO);
        }
        if (lumora_.Main() != nullptr) {
            EXPECT_EQ(lumora_.Close(), 0);
        }
        raw_.DeleteTree(pk::kRoot, pk::kPath);
        // The pointer is left where no later test's window opens.
        test::MovePointer(POINT{1, 1});
    }

    // Starts the program, with "&Restore" enabled when |restorable|, and
    // waits until its window is in front.
    void Open(bool restorable) {
        if (restorable) {
            pk::SetRestoreFlag();
        }
        ASSERT_TRUE(lumora_.Open());
        main_ = lumora_.Main();
        about_ = test::WaitForWindow(kAboutFormClass, lumora_.Id(), kWindowTimeoutMs);
        ASSERT_NE(about_, nullptr);
        ASSERT_TRUE(WaitFor([this] { return GetForegroundWindow() == main_; }))
            << "the main window is not in front";
    }

    HWND MainButton(const wchar_t* text) const { return test::FindControl(main_, L"Button", text); }
    HWND AboutButton(const wchar_t* text) const {
        return test::FindControl(about_, L"Button", text);
    }
    HWND MainLabel(const wchar_t* text) const { return test::FindControl(main_, L"Static", text); }
    // The main window's controls in their keyboard order.
    std::vector<HWND> MainKeyboardOrder() const {
        std::vector<HWND> order{MainButton(kOptimize), MainButton(kRestore)};
        for (HWND combo : test::ControlsOfClass(main_, WC_COMBOBOXEXW)) {
            order.push_back(combo);
        }
        order.push_back(test::ControlsOfClass(main_, TRACKBAR_CLASSW).at(0));
        order.push_back(MainButton(kUpdates));
        return order;
    }
    bool AboutShown() const { return IsWindowVisible(about_) != FALSE; }
    // The program's message box, shown, whose text starts with |start|.
    HWND Question(const wchar_t* start) const {
        HWND box = test::FindMessageBox(lumora_.Id());
        return box != nullptr && test::MessageBoxText(box).rfind(start, 0) == 0 ? box : nullptr;
    }
    HWND HelpWindow() const {
        HWND help = FindWindowW(L"HH Parent", nullptr);
        return help != nullptr && IsWindowVisible(help) ? help : nullptr;
    }
    // A point of the main window's client area on the screen.
    POINT OnMain(int x, int y) const {
        POINT point{x, y};
        ClientToScreen(main_, &point);
        return point;
    }
    // The window is in front, with |control| focused.
    void ExpectFocus(HWND window, HWND control, const char* what) const {
        EXPECT_TRUE(WaitFor([&] {
            return GetForegroundWindow() == window && test::HasFocus(control);
        })) << what
            << ": focus on " << testing::PrintToString(test::WindowText(test::FocusOf(window)))
            << " (" << testing::PrintToString(test::ClassOf(test::FocusOf(window)))
            << "), in front " << testing::PrintToString(test::WindowText(GetForegroundWindow()));
    }
    // Input is taken in order: once a Tab has moved the focus away from
    // |control|, everything given before it has been handled.
    bool InputHandledBefore(HWND window, HWND control) const {
        test::PressKey(VK_TAB);
        return WaitFor([&] { return !test::HasFocus(control) || AboutShown(); }) &&
               GetForegroundWindow() == window;
    }
    void ShowAboutByLink() {
        test::ClickAt(test::CentreOf(MainLabel(kAboutLink)));
        ASSERT_TRUE(WaitFor([this] { return AboutShown(); })) << "no about box";
        ExpectFocus(about_, AboutButton(kClose), "about box shown");
    }
    // Answers a question with a click on one of its buttons.
    void ClickAnswer(HWND box, int id) {
        HWND button = GetDlgItem(box, id);
        ASSERT_NE(button, nullptr);
        test::ClickAt(test::CentreOf(button));
        ASSERT_TRUE(test::WaitUntilGone(box));
    }
    // An optimize run started by a key: it goes to its restart question,
    // which is answered No.
    void ExpectOptimizeRun(const char* what) {
        HWND box = nullptr;
        EXPECT_TRUE(
            WaitFor([&] { return (box = Question(kRestartQuestionStart)) != nullptr; }, 120000))
            << what << ": no optimize run";
        if (box != nullptr) {
            test::PressMessageBoxButton(box, IDNO);
            EXPECT_TRUE(test::WaitUntilGone(box));
        }
        EXPECT_TRUE(raw_.Get(pk::kRoot, pk::kPath, pk::kInternetType).has_value()) << what;
    }

    test::RawRegistry raw_;
    test::LumoraProcess lumora_;
    HWND main_ = nullptr;
    HWND about_ = nullptr;
};

// At start the first control of the keyboard order has the focus, so Space
// and Enter work at once; Space presses the focused button.
TEST_F(KeyboardMouseTest, AtStartTheOptimizeButtonHasTheFocus) {
    Open(true);
    ExpectFocus(main_, MainButton(kOptimize), "at start");
    test::PressKey(VK_TAB);
    ExpectFocus(main_, MainButton(kRestore), "after Tab");
    test::PressKey(VK_SPACE);
    HWND box = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (box = Question(kRestoreQuestionStart)) != nullptr; }))
        << "Space on Restore asked nothing";
    if (box != nullptr) {
        ClickAnswer(box, IDCANCEL);
    }
    EXPECT_FALSE(raw_.Get(pk::kRoot, pk::kPath, pk::kInternetType).has_value());
}

// After the restore question is cancelled, the focus is back on "&Restore":
// Enter asks the same question again and starts no optimize run.
TEST_F(KeyboardMouseTest, EnterAfterACancelledRestoreAsksAgain) {
    Open(true);
    test::ClickAt(test::CentreOf(MainButton(kRestore)));
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = Question(kRestoreQuestionStart)) != nullptr; }));
    ClickAnswer(box, IDCANCEL);
    ExpectFocus(main_, MainButton(kRestore), "after the question");
    test::PressKey(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] {
        return (box = Question(kRestoreQuestionStart)) != nullptr ||
               IsWindowVisible(lumora_.ProgressDialog());
    }));
    EXPECT_NE(Question(kRestoreQuestionStart), nullptr) << "Enter did not press Restore";
    if (box != nullptr) {
        test::PressKey(VK_ESCAPE);  // Cancel
        EXPECT_TRUE(test::WaitUntilGone(box));
    }
    EXPECT_FALSE(raw_.Get(pk::kRoot, pk::kPath, pk::kInternetType).has_value())
        << "an optimize run stored its choices";
    EXPECT_TRUE(raw_.Get(pk::kRoot, pk::kPath, pk::kRestore).has_value());
}

// Tab and Shift+Tab go round each window's controls in its keyboard order.
TEST_F(KeyboardMouseTest, TabAndShiftTabFollowTheKeyboardOrder) {
    Open(true);
    const std::vector<HWND> order = MainKeyboardOrder();
    ExpectFocus(main_, order[0], "at start");
    for (std::size_t i = 1; i <= order.size(); ++i) {
        test::PressKey(VK_TAB);
        ExpectFocus(main_, order[i % order.size()], "Tab");
    }
    for (std::size_t i = order.size(); i-- > 0;) {
        test::PressKey(VK_TAB, VK_SHIFT);
        ExpectFocus(main_, order[i], "Shift+Tab");
    }

    ShowAboutByLink();
    const std::vector<HWND> about = {
        AboutButton(kClose), test::ControlsOfClass(about_, L"Edit").at(0), AboutButton(kHelp)};
    for (std::size_t i = 1; i <= about.size(); ++i) {
        test::PressKey(VK_TAB);
        ExpectFocus(about_, about[i % about.size()], "Tab in the about box");
    }
    for (std::size_t i = about.size(); i-- > 0;) {
        test::PressKey(VK_TAB, VK_SHIFT);
        ExpectFocus(about_, about[i], "Shift+Tab in the about box");
    }
}

// Enter presses the focused push button; on any other control it presses the
// window's default button, "&Optimize now".
TEST_F(KeyboardMouseTest, EnterPressesTheFocusedButtonElseTheDefault) {
    Open(true);
    const std::vector<HWND> order = MainKeyboardOrder();
    // The focused button shows the default border; Optimize when none is focused.
    const auto isDefault = [](HWND button) {
        return (SendMessageW(button, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0;
    };

    test::PressKey(VK_TAB);
    ExpectFocus(main_, order[1], "Restore focused");
    EXPECT_TRUE(isDefault(order[1]));
    EXPECT_FALSE(isDefault(order[0]));
    test::PressKey(VK_RETURN);
    HWND box = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (box = Question(kRestoreQuestionStart)) != nullptr; }))
        << "Enter on Restore";
    if (box != nullptr) {
        test::PressKey(VK_ESCAPE);
        EXPECT_TRUE(test::WaitUntilGone(box));
    }
    ExpectFocus(main_, order[1], "after the question");

    test::PressKey(VK_TAB);
    ExpectFocus(main_, order[2], "the edition list focused");
    EXPECT_TRUE(isDefault(order[0]));
    EXPECT_FALSE(isDefault(order[1]));
    test::PressKey(VK_RETURN);
    ExpectOptimizeRun("Enter on the edition list");

    raw_.DeleteTree(pk::kRoot, pk::kPath);
    ExpectFocus(main_, order[2], "after the run");
    test::PressKey(VK_TAB, VK_SHIFT);
    test::PressKey(VK_TAB, VK_SHIFT);
    ExpectFocus(main_, order[0], "Optimize focused");
    test::PressKey(VK_RETURN);
    ExpectOptimizeRun("Enter on Optimize");
}

// In the about box, Enter presses Close at first, and Help once Help has the
// focus: the box then stays open.
TEST_F(KeyboardMouseTest, EnterInTheAboutBoxPressesItsFocusedButton) {
    Open(false);
    ShowAboutByLink();
    test::PressKey(VK_TAB, VK_SHIFT);
    ExpectFocus(about_, AboutButton(kHelp), "Help focused");
    test::PressKey(VK_RETURN);
    EXPECT_TRUE(WaitFor([this] { return HelpWindow() != nullptr; })) << "Enter on Help";
    EXPECT_TRUE(AboutShown());
    if (HWND help = HelpWindow()) {
        PostMessageW(help, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitFor([this] { return HelpWindow() == nullptr; }));
    }
    SetForegroundWindow(about_);
    ExpectFocus(about_, AboutButton(kHelp), "after the help");
    test::PressKey(VK_TAB);
    ExpectFocus(about_, AboutButton(kClose), "Close focused");
    test::PressKey(VK_RETURN);
    EXPECT_TRUE(WaitFor([this] { return !AboutShown(); })) << "Enter on Close";
    ExpectFocus(main_, MainButton(kOptimize), "back in the main window");
}

// F1 opens the help wherever the focus is, in the main window and in the
// about box.
TEST_F(KeyboardMouseTest, F1OpensTheHelpWithTheFocusAnywhere) {
    Open(false);
    const std::vector<HWND> order = MainKeyboardOrder();
    for (HWND control : {order[0], order[2], order[5], order[6]}) {
        for (int tabs = 0; tabs < 8 && !test::HasFocus(control); ++tabs) {
            test::PressKey(VK_TAB);
            WaitFor([&] { return test::HasFocus(control); }, 2000);
        }
        test::PressKey(VK_F1);
        EXPECT_TRUE(WaitFor([this] { return HelpWindow() != nullptr; }))
            << "F1 on " << testing::PrintToString(test::ClassOf(control));
        if (HWND help = HelpWindow()) {
            PostMessageW(help, WM_CLOSE, 0, 0);
            EXPECT_TRUE(WaitFor([this] { return HelpWindow() == nullptr; }));
        }
        SetForegroundWindow(main_);
        ExpectFocus(main_, control, "after the help");
    }
}

// Closing the about box, by every way a person has, gives the activation
// back to the main window and its focused control, also with another
// program's window on the screen; Esc leaves the box open.
TEST_F(KeyboardMouseTest, ClosingTheAboutBoxGivesTheMainWindowBack) {
    OtherProgramWindow other;
    Open(false);
    const HWND optimize = MainButton(kOptimize);
    ExpectFocus(main_, optimize, "at start");
    struct Way {
        const char* what;
        std::function<void()> close;
    };
    const Way ways[] = {
        {"Close clicked", [&] { test::ClickAt(test::CentreOf(AboutButton(kClose))); }},
        {"Enter", [] { test::PressKey(VK_RETURN); }},
        // The close box's key: Wine here leaves the frame to an absent
        // window manager, so the box itself cannot be clicked.
        {"Alt+F4, the close box", [] { test::PressKey(VK_F4, VK_MENU); }},
        {"F1, then Close clicked",
         [&] {
             test::PressKey(VK_F1);
             EXPECT_TRUE(WaitFor([this] { return HelpWindow() != nullptr; }));
             SetForegroundWindow(about_);
             EXPECT_TRUE(WaitFor([this] { return GetForegroundWindow() == about_; }));
             test::ClickAt(test::CentreOf(AboutButton(kClose)));
         }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.what);
        ShowAboutByLink();
        way.close();
        EXPECT_TRUE(WaitFor([this] { return !AboutShown(); }))
            << "the box stayed open, " << PointerPlace() << ", Close's centre at "
            << PointText(test::CentreOf(AboutButton(kClose)));
        ExpectFocus(main_, optimize, way.what);
        EXPECT_TRUE(IsWindowEnabled(main_));
        if (HWND help = HelpWindow()) {
            PostMessageW(help, WM_CLOSE, 0, 0);
            EXPECT_TRUE(WaitFor([this] { return HelpWindow() == nullptr; }));
            SetForegroundWindow(main_);
        }
    }

    ShowAboutByLink();
    test::PressKey(VK_ESCAPE);
    ASSERT_TRUE(InputHandledBefore(about_, AboutButton(kClose)));
    EXPECT_TRUE(AboutShown()) << "Esc closed the about box";
    test::ClickAt(test::CentreOf(AboutButton(kClose)));
    EXPECT_TRUE(WaitFor([this] { return !AboutShown(); }));
}

// A click is a press and a release on the same control: a press on a link
// released elsewhere opens nothing, and a picture released on without a
// press on it opens nothing either. A press and release on either opens the
// about box, on the release.
TEST_F(KeyboardMouseTest, AClickIsAPressAndAReleaseOnTheSameControl) {
    Open(false);
    const HWND optimize = MainButton(kOptimize);
    ExpectFocus(main_, optimize, "at start");
    const POINT link = test::CentreOf(MainLabel(kAboutLink));
    const POINT aboutPicture = OnMain(668, 71);  // the About picture, beside its label
    const POINT emptyPanel = OnMain(600, 400);   // the working area, nothing on it
    const POINT logo = OnMain(100, 40);          // the logo, a picture with no action

    struct Gesture {
        const char* what;
        POINT press;
        POINT release;
        bool opens;
    };
    const Gesture gestures[] = {
        {"link pressed, released on the working area", link, emptyPanel, false},
        {"working area pressed, released on the link", emptyPanel, link, false},
        {"About picture pressed, released on the working area", aboutPicture, emptyPanel, false},
        {"logo pressed, released on the About picture", logo, aboutPicture, false},
        {"link pressed and released", link, link, true},
        {"About picture pressed and released", aboutPicture, aboutPicture, true},
    };
    for (const Gesture& gesture : gestures) {
        SCOPED_TRACE(gesture.what);
        HWND focused = test::FocusOf(main_);
        test::MovePointer(gesture.press);
        test::LeftButton(gesture.press, true);
        // Nothing opens while the button is down.
        ASSERT_TRUE(InputHandledBefore(main_, focused));
        EXPECT_FALSE(AboutShown()) << "opened on the press";
        focused = test::FocusOf(main_);
        test::MovePointer(gesture.release);
        test::LeftButton(gesture.release, false);
        if (gesture.opens) {
            EXPECT_TRUE(WaitFor([this] { return AboutShown(); }))
                << "the click opened nothing, " << PointerPlace();
            test::PressKey(VK_RETURN);
            EXPECT_TRUE(WaitFor([this] { return !AboutShown(); }));
        } else {
            ASSERT_TRUE(InputHandledBefore(main_, focused));
            EXPECT_FALSE(AboutShown()) << "opened without a click";
        }
    }
}

}  // namespace
}  // namespace lumora
