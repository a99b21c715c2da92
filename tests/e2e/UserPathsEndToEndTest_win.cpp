// The user's ways to help, the maker's web pages, the updater, the about box
// and the licence, through the real windows of the test build's Lumora.exe
// under Wine and Wine's own shell. The program runs from a folder of its own
// that holds its help file and licence and, as "LumoraUpdate.exe", a
// stand-in that records its command line; stand-ins registered for the test
// as the handlers of web addresses and of .rtf files record theirs. Help
// opens the program's help file in Wine's HTML Help window.
#include <windows.h>

#include <gtest/gtest.h>
#include <shellapi.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "registry/ProgramKey.h"
#include "tests/e2e/LumoraDriver.h"
#include "tests/support/Automation.h"
#include "tests/support/Process.h"
#include "tests/support/RawRegistry.h"
#include "tests/support/Wine.h"
#include "ui/framework/WindowClasses.h"

#ifndef LUMORA_EXPECTED_WEB_HOST
#error "LUMORA_EXPECTED_WEB_HOST must name the maker's web site"
#endif

namespace lumora {
namespace {

namespace pk = program_key;
using test::kWindowTimeoutMs;

constexpr wchar_t kHomePage[] = L"http://" LUMORA_EXPECTED_WEB_HOST;
constexpr wchar_t kSupportPage[] = L"http://" LUMORA_EXPECTED_WEB_HOST L"/support/";
constexpr wchar_t kMarker[] = L"lumora-user-paths";

// Waits up to |timeoutMs| for |condition|, returning as soon as it holds.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = test::kWindowTimeoutMs) {
    return test::WaitUntil(condition, timeoutMs);
}

// The default value of a key below HKEY_CLASSES_ROOT, set for the test and
// put back afterwards.
class ClassesDefault {
  public:
    ClassesDefault(std::wstring key, std::wstring wineDefault)
        : key_(std::move(key)), wineDefault_(std::move(wineDefault)) {}
    void Set(const std::wstring& value) {
        if (!saved_) {
            original_ = Read();
            // A value a broken run left behind is Wine's own again.
            if (!original_ || original_->find(kMarker) != std::wstring::npos) {
                original_ = wineDefault_;
            }
            saved_ = true;
        }
        Write(value);
    }
    void Restore() {
        if (saved_) {
            Write(*original_);
            saved_ = false;
        }
    }

  private:
    std::optional<std::wstring> Read() const {
        wchar_t value[1024] = {};
        DWORD size = sizeof(value) - sizeof(wchar_t);
        if (RegGetValueW(HKEY_CLASSES_ROOT, key_.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value,
                         &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        return std::wstring(value);
    }
    void Write(const std::wstring& value) const {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key_.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                            &key, nullptr) == ERROR_SUCCESS) {
            RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
            RegCloseKey(key);
        }
    }
    std::wstring key_;
    std::wstring wineDefault_;
    std::optional<std::wstring> original_;
    bool saved_ = false;
};

// What the program may start: each a stand-in with its own log.
enum class Program { Browser, RtfViewer, Updater };

// What one user path opens.
enum class Target { Help, HomePage, SupportPage, Updater, Licence, AboutBox };

std::vector<std::wstring> Arguments(const std::wstring& commandLine) {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(commandLine.c_str(), &count);
    std::vector<std::wstring> arguments;
    for (int i = 1; argv != nullptr && i < count; ++i) {
        arguments.emplace_back(argv[i]);
    }
    LocalFree(argv);
    return arguments;
}

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) &&
        test::ClassOf(window) == search->className) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

class UserPathsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + kMarker + L"\\";
        CreateDirectoryW(folder_.c_str(), nullptr);
        const std::wstring bin = test::TestFolder();
        const std::wstring recorder = bin + L"recorder.exe";
        for (const auto& [from, to] : std::vector<std::pair<std::wstring, std::wstring>>{
                 {bin + L"Lumora.exe", L"Lumora.exe"},
                 {bin + L"Lumora.chm", L"Lumora.chm"},
                 {bin + L"License.rtf", L"License.rtf"},
                 {recorder, L"LumoraUpdate.exe"},
                 {recorder, L"browser.exe"},
                 {recorder, L"viewer.exe"}}) {
            copied_ = copied_ && CopyFileW(from.c_str(), (folder_ + to).c_str(), FALSE);
        }
        // Windows keeps the user's own choice of browser and viewer past
        // these keys: there the paths to them are left out.
        if (test::RunningUnderWine()) {
            urlHandler_.Set(L"\"" + folder_ + L"browser.exe\" \"%1\"");
            rtfClass_.Set(L"LumoraTest.RtfFile");
            rtfHandler_.Set(L"\"" + folder_ + L"viewer.exe\" \"%1\"");
        }
    }
    static void TearDownTestSuite() {
        urlHandler_.Restore();
        rtfClass_.Restore();
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"LumoraTest.RtfFile");
        for (const wchar_t* file : {L"Lumora.exe", L"Lumora.chm", L"License.rtf",
                                    L"LumoraUpdate.exe", L"browser.exe", L"viewer.exe"}) {
            DeleteFileW((folder_ + file).c_str());
        }
        for (const Program program : {Program::Browser, Program::RtfViewer, Program::Updater}) {
            DeleteFileW(LogOf(program).c_str());
        }
        RemoveDirectoryW(folder_.c_str());
    }

    // An empty program key: no update check is started at start-up.
    void SetUp() override {
        ASSERT_TRUE(copied_) << "the program folder could not be made";
        raw_.DeleteTree(pk::kRoot, pk::kPath);
        for (const Program program : {Program::Browser, Program::RtfViewer, Program::Updater}) {
            DeleteFileW(LogOf(program).c_str());
            expected_[program].clear();
        }
        ASSERT_TRUE(lumora_.Open(folder_ + L"Lumora.exe"));
        about_ = test::WaitForWindow(kAboutFormClass, lumora_.Id(), kWindowTimeoutMs);
        ASSERT_NE(about_, nullptr);
    }
    void TearDown() override {
        EXPECT_EQ(lumora_.Close(), 0);
        raw_.DeleteTree(pk::kRoot, pk::kPath);
    }

    static std::wstring LogOf(Program program) {
        switch (program) {
            case Program::Browser:
                return folder_ + L"browser.exe.log";
            case Program::RtfViewer:
                return folder_ + L"viewer.exe.log";
            case Program::Updater:
                break;
        }
        return folder_ + L"LumoraUpdate.exe.log";
    }
    // The arguments of each start of the program, in order.
    static std::vector<std::vector<std::wstring>> Starts(Program program) {
        std::vector<std::vector<std::wstring>> starts;
        HANDLE file =
            CreateFileW(LogOf(program).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return starts;
        }
        std::wstring text(32768, L'\0');
        DWORD got = 0;
        ReadFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &got,
                 nullptr);
        CloseHandle(file);
        text.resize(got / sizeof(wchar_t));
        for (std::size_t at = 0, end; (end = text.find(L"\r\n", at)) != std::wstring::npos;
             at = end + 2) {
            starts.push_back(Arguments(text.substr(at, end - at)));
        }
        return starts;
    }

    HWND VisibleWindow(const wchar_t* className) const {
        WindowSearch search{lumora_.Id(), className, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    // Wine's HTML Help window of the program's help file.
    HWND HelpWindow() const { return VisibleWindow(L"HH Parent"); }
    HWND Menu() const { return VisibleWindow(L"#32768"); }
    bool AboutShown() const { return IsWindowVisible(about_) != FALSE; }

    // A key as the keyboard gives it to the window with the focus in |window|.
    void PressKey(HWND window, WPARAM key) const {
        PostMessageW(window, WM_KEYDOWN, key, 1);
        PostMessageW(window, WM_KEYUP, key, 0xC0000001);
    }
    // A click on the main window's client area, where a picture lies.
    void ClickAt(int x, int y) const {
        const LPARAM at = MAKELPARAM(x, y);
        PostMessageW(lumora_.Main(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(lumora_.Main(), WM_LBUTTONUP, 0, at);
    }
    void ClickLabel(HWND parent, const std::wstring& text) const {
        HWND label = test::FindControl(parent, L"Static", text);
        ASSERT_NE(label, nullptr) << testing::PrintToString(text);
        test::ClickControl(label);
    }
    void ClickButton(HWND parent, const std::wstring& text) const {
        HWND button = test::FindControl(parent, L"Button", text);
        ASSERT_NE(button, nullptr) << testing::PrintToString(text);
        PostMessageW(button, BM_CLICK, 0, 0);
    }
    // Opens the help menu and chooses its item |item| (0 or 2; 1 is the
    // separator) with the keyboard.
    void ChooseFromHelpMenu(const std::function<void()>& open, int item) const {
        // A pointer resting where the menu opens would choose its item first.
        test::MovePointerAway();
        open();
        ASSERT_TRUE(WaitFor([this] { return Menu() != nullptr; })) << "the help menu did not open";
        for (int i = 0; i <= item; i += 2) {
            PressKey(lumora_.Main(), VK_DOWN);
        }
        PressKey(lumora_.Main(), VK_RETURN);
        ASSERT_TRUE(WaitFor([this] { return Menu() == nullptr; }));
    }
    void ShowAbout() const {
        ClickLabel(lumora_.Main(), L"About Lumora");
        ASSERT_TRUE(WaitFor([this] { return AboutShown(); })) << "the about box did not show";
    }
    void CloseAbout() const {
        PostMessageW(about_, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitFor([this] { return !AboutShown(); }));
    }

    // Waits for what the path opens, checks that nothing else was started
    // or opened, and closes it again.
    void ExpectOpens(Target target) {
        std::map<Program, std::vector<std::wstring>> start;
        switch (target) {
            case Target::HomePage:
                start[Program::Browser] = {kHomePage};
                break;
            case Target::SupportPage:
                start[Program::Browser] = {kSupportPage};
                break;
            case Target::Licence:
                start[Program::RtfViewer] = {folder_ + L"License.rtf"};
                break;
            case Target::Updater:
                start[Program::Updater] = {};
                break;
            case Target::Help:
            case Target::AboutBox:
                break;
        }
        for (const auto& [program, arguments] : start) {
            expected_[program].push_back(arguments);
            const std::size_t count = expected_[program].size();
            EXPECT_TRUE(WaitFor([&] { return Starts(program).size() >= count; })) << "not started";
        }
        if (target == Target::Help) {
            EXPECT_TRUE(WaitFor([this] { return HelpWindow() != nullptr; })) << "no help window";
        }
        if (target == Target::AboutBox) {
            EXPECT_TRUE(WaitFor([this] { return AboutShown(); })) << "no about box";
        }
        ExpectNothingElse(target);
        if (HWND help = HelpWindow()) {
            PostMessageW(help, WM_CLOSE, 0, 0);
            EXPECT_TRUE(WaitFor([this] { return HelpWindow() == nullptr; }));
        }
    }
    // Every start so far was one a path asked for. After a mismatch the
    // record is taken as it is, so that the next path is judged on its own.
    void ExpectNothingElse(Target target) {
        for (const Program program : {Program::Browser, Program::RtfViewer, Program::Updater}) {
            const std::vector<std::vector<std::wstring>> starts = Starts(program);
            EXPECT_EQ(starts, expected_[program])
                << "starts of " << testing::PrintToString(LogOf(program));
            expected_[program] = starts;
        }
        if (target != Target::Help) {
            EXPECT_EQ(HelpWindow(), nullptr) << "a help window opened";
        }
        if (target != Target::AboutBox) {
            EXPECT_EQ(Menu(), nullptr) << "the help menu stayed open";
        }
    }

    static std::wstring folder_;
    static bool copied_;
    static ClassesDefault urlHandler_;
    static ClassesDefault rtfClass_;
    static ClassesDefault rtfHandler_;

    test::RawRegistry raw_;
    test::LumoraProcess lumora_;
    HWND about_ = nullptr;
    std::map<Program, std::vector<std::vector<std::wstring>>> expected_;
};

std::wstring UserPathsTest::folder_;
bool UserPathsTest::copied_ = true;
ClassesDefault UserPathsTest::urlHandler_(L"http\\shell\\open\\command",
                                          L"\"C:\\windows\\system32\\winebrowser.exe\" \"%1\"");
ClassesDefault UserPathsTest::rtfClass_(L".rtf", L"rtffile");
ClassesDefault UserPathsTest::rtfHandler_(L"LumoraTest.RtfFile\\shell\\open\\command", L"");

// The pictures of the navigation bar, in the main window's client area: a
// point on each that its label does not cover.
constexpr POINT kHelpPicture = {676, 29};
constexpr POINT kHomePicture = {475, 71};
constexpr POINT kSupportPicture = {560, 71};
constexpr POINT kAboutPicture = {668, 71};

// The targets opened through a handler of web addresses or .rtf files.
bool OpensAHandler(Target target) {
    return target == Target::HomePage || target == Target::SupportPage || target == Target::Licence;
}

TEST_F(UserPathsTest, EachPathOpensItsOwnTarget) {
    HWND main = lumora_.Main();
    // In order: the about box's own paths run while the box is shown.
    struct Path {
        const char* what;
        std::function<void()> act;
        Target target;
        bool closeAboutAfter;
    };
    const Path paths[] = {
        {"F1 in the main window", [&] { PressKey(main, VK_F1); }, Target::Help, false},
        {"help link", [&] { ClickLabel(main, L"Help with Lumora"); }, Target::Help, false},
        {"help menu from the picture, help item",
         [&] { ChooseFromHelpMenu([&] { ClickAt(kHelpPicture.x, kHelpPicture.y); }, 0); },
         Target::Help, false},
        {"help menu from the label, support item",
         [&] { ChooseFromHelpMenu([&] { ClickLabel(main, L"Help"); }, 2); }, Target::SupportPage,
         false},
        {"Home picture", [&] { ClickAt(kHomePicture.x, kHomePicture.y); }, Target::HomePage, false},
        {"Home label", [&] { ClickLabel(main, L"Home"); }, Target::HomePage, false},
        {"website link", [&] { ClickLabel(main, L"Click to visit our website"); }, Target::HomePage,
         false},
        {"Support picture", [&] { ClickAt(kSupportPicture.x, kSupportPicture.y); },
         Target::SupportPage, false},
        {"Support label", [&] { ClickLabel(main, L"Support"); }, Target::SupportPage, false},
        {"tech support link", [&] { ClickLabel(main, L"Contact tech support"); },
         Target::SupportPage, false},
        {"Check for updates button", [&] { ClickButton(main, L" &Check for updates ..."); },
         Target::Updater, false},
        {"About picture", [&] { ClickAt(kAboutPicture.x, kAboutPicture.y); }, Target::AboutBox,
         false},
        {"F1 while the about box is shown", [&] { PressKey(about_, VK_F1); }, Target::Help, false},
        {"about box's Help button", [&] { ClickButton(about_, L"&Help"); }, Target::Help, false},
        {"licence link", [&] { ClickLabel(about_, L"Click to view the end-user license terms"); },
         Target::Licence, true},
        {"About label", [&] { ClickLabel(main, L"About"); }, Target::AboutBox, true},
        {"About link", [&] { ClickLabel(main, L"About Lumora"); }, Target::AboutBox, true},
    };
    int leftOut = 0;
    for (const Path& path : paths) {
        SCOPED_TRACE(path.what);
        if (!test::RunningUnderWine() && OpensAHandler(path.target)) {
            ++leftOut;
            // On Windows the web page or the licence would open in the
            // user's own browser or viewer, which the test cannot replace.
            if (path.closeAboutAfter) {
                CloseAbout();
            }
            continue;
        }
        path.act();
        ExpectOpens(path.target);
        if (path.closeAboutAfter) {
            CloseAbout();
        }
    }
    EXPECT_TRUE(WaitFor([main] { return IsWindowEnabled(main) != FALSE; }))
        << "the main window stayed disabled";
    ExpectNothingElse(Target::AboutBox);
    if (leftOut > 0) {
        GTEST_SKIP() << "the help, updater and about box paths passed; the " << leftOut
                     << " paths to the web pages and the licence run under Wine only, where "
                        "HKEY_CLASSES_ROOT can point them at recorders";
    }
}

// Enter right after the box is shown presses Close: the focus is on it, and
// it is the default button.
TEST_F(UserPathsTest, EnterRightAfterShowingClosesTheAboutBox) {
    ShowAbout();
    GUITHREADINFO gui{};
    gui.cbSize = sizeof(gui);
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(about_, nullptr), &gui));
    ASSERT_NE(gui.hwndFocus, nullptr);
    EXPECT_EQ(test::WindowText(gui.hwndFocus), L"&Close");
    PressKey(gui.hwndFocus, VK_RETURN);
    EXPECT_TRUE(WaitFor([this] { return !AboutShown(); })) << "Enter left the box open";
    EXPECT_EQ(HelpWindow(), nullptr);
    EXPECT_TRUE(WaitFor([this] { return IsWindowEnabled(lumora_.Main()) != FALSE; }));
}

// The pixels of a window's area on the screen in exactly |color|.
int PixelsOfColor(HWND window, COLORREF color) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    int count = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            count += GetPixel(memory, x, y) == color;
        }
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return count;
}

// The link gains a line of its own blue under its text while the pointer is
// on it, and no pixel of another text colour; leaving it takes the line away.
TEST_F(UserPathsTest, HoveringTheLicenceLinkUnderlinesItInItsColour) {
    constexpr COLORREF kLinkBlue = RGB(0, 102, 204);
    test::MovePointerAway();
    ShowAbout();
    HWND link = test::FindControl(about_, L"Static", L"Click to view the end-user license terms");
    ASSERT_NE(link, nullptr);
    int plain = 0;
    ASSERT_TRUE(WaitFor([&] { return (plain = PixelsOfColor(link, kLinkBlue)) > 0; }))
        << "the link is not drawn in its blue";
    const int plainDark = test::DarkPixels(link);

    test::HoverControl(link);
    RECT rect{};
    GetClientRect(link, &rect);
    int hovered = plain;
    // The underline runs under the whole text: most of the label's width.
    EXPECT_TRUE(WaitFor([&] {
        hovered = PixelsOfColor(link, kLinkBlue);
        return hovered >= plain + rect.right / 2;
    })) << plain
        << " blue pixels before, " << hovered << " on it";
    EXPECT_EQ(test::DarkPixels(link), plainDark) << "the link changed its colour";

    test::MovePointerAway();
    int left = hovered;
    EXPECT_TRUE(WaitFor([&] { return (left = PixelsOfColor(link, kLinkBlue)) == plain; }))
        << left << " blue pixels after leaving, " << plain << " before";
    CloseAbout();
}

}  // namespace
}  // namespace lumora
