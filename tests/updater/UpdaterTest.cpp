// The updater's answers to the update check: what the user is told or asked,
// and the one page it may open. First by result code, then end to end
// against a scripted update server on 127.0.0.1; under Wine also the built
// LumoraUpdate.exe with its real message box.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>

#include "tests/support/Automation.h"
#include "tests/support/Process.h"
#endif

#include <string>
#include <vector>

#include "platform/ShellAddresses.h"
#include "platform/UpdateCheck.h"
#include "tests/platform/LoopbackServer.h"
#include "updater/Updater.h"

namespace lumora {
namespace {

// Records what the updater shows and opens, and answers its question.
class RecordingUi final : public UpdaterUi {
  public:
    struct Box {
        std::wstring title;
        std::wstring text;
        bool question;
        UpdaterIcon icon;
    };

    explicit RecordingUi(bool answerYes) : answerYes_(answerYes) {}

    void Tell(const std::wstring& title, const std::wstring& text, UpdaterIcon icon) override {
        boxes.push_back({title, text, false, icon});
    }
    bool Ask(const std::wstring& title, const std::wstring& text) override {
        boxes.push_back({title, text, true, UpdaterIcon::Information});
        return answerYes_;
    }
    void OpenPage(const std::wstring& address) override { opened.push_back(address); }

    std::vector<Box> boxes;
    std::vector<std::wstring> opened;

  private:
    bool answerYes_;
};

const std::wstring kTitle = L"Update Lumora";
const std::wstring kOffer =
    L"An update for this software is available to download.\r\n\r\n"
    L"Do you want to download and install a new version of this software?";
const std::wstring kCurrent =
    L"There are no updates available for this software.\r\n\r\n"
    L"You have the current version of the software installed.";
const std::wstring kNoConnection =
    L"Could not connect to the internet to check for software updates.\r\n\r\n"
    L"Please check if your internet connection is available.";

struct Outcome {
    bool question;
    std::wstring text;
    UpdaterIcon icon;
    bool opensDownloadPage;
};

// One box, with the expected title, kind, text and icon, and the download
// page opened only where expected.
void ExpectOutcome(const RecordingUi& ui, const Outcome& expected) {
    ASSERT_EQ(ui.boxes.size(), 1u);
    const RecordingUi::Box& box = ui.boxes[0];
    EXPECT_EQ(box.title, kTitle);
    EXPECT_EQ(box.question, expected.question);
    EXPECT_EQ(box.text, expected.text);
    if (!expected.question) {
        EXPECT_EQ(box.icon, expected.icon);
    }
    EXPECT_EQ(ui.opened, expected.opensDownloadPage ? std::vector<std::wstring>{DownloadPageUrl()}
                                                    : std::vector<std::wstring>{});
}

TEST(Updater, EachCheckResultReachesTheUser) {
    const struct {
        int result;
        bool answerYes;
        Outcome expected;
    } cases[] = {
        {1, true, {true, kOffer, UpdaterIcon::Information, true}},
        {1, false, {true, kOffer, UpdaterIcon::Information, false}},
        {0, true, {false, kCurrent, UpdaterIcon::Information, false}},
        {2, true, {false, kCurrent, UpdaterIcon::Information, false}},
        {-1, true, {false, kNoConnection, UpdaterIcon::Warning, false}},
        {3, true, {false, kNoConnection, UpdaterIcon::Warning, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "result " << c.result << ", yes " << c.answerYes);
        RecordingUi ui(c.answerYes);
        RunUpdater(c.result, L"english", ui);
        ExpectOutcome(ui, c.expected);
    }
}

// The server's reply, through the program's update check, to the user.
TEST(Updater, AnswersWhatTheUpdateServerSays) {
    auto reply = [](const std::string& status, const std::string& body) {
        return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) +
               "\r\n\r\n" + body;
    };
    const struct {
        std::string reply;
        Outcome expected;
    } cases[] = {
        {reply("200 OK", "OSTREL|1"), {true, kOffer, UpdaterIcon::Information, true}},
        {reply("200 OK", "OSTREL|0"), {false, kCurrent, UpdaterIcon::Information, false}},
        {reply("200 OK", "OSTREL|2"), {false, kCurrent, UpdaterIcon::Information, false}},
        {reply("404 Not Found", "OSTREL|1"), {false, kNoConnection, UpdaterIcon::Warning, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        test::LoopbackServer server({{c.reply}});
        ASSERT_NE(server.Port(), 0);
        RecordingUi ui(true);
        RunUpdater(CheckForUpdateAt("127.0.0.1", server.Port(), HttpLimits{}), L"english", ui);
        ExpectOutcome(ui, c.expected);
        EXPECT_EQ(server.Request().rfind("GET /downloads/update/?product=lumora&version=", 0), 0u);
    }
}

#ifdef _WIN32
// Started as the program starts it, LumoraUpdate.exe asks the configured
// server. The tests never reach it (the shipped host name lies under
// ".example", which never resolves), so the user hears of no connection, in
// a box with OK alone, and OK ends the updater.
TEST(Updater, LumoraUpdateExeTellsInAMessageBox) {
    test::Started updater = test::Start(L"\"" + test::TestFolder() + L"LumoraUpdate.exe\"");
    ASSERT_NE(updater.process, nullptr);
    HWND box = test::WaitForWindow(L"#32770", updater.id, 30000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(test::WindowText(box), kTitle);
    EXPECT_NE(test::FindControl(box, L"Static", kNoConnection), nullptr);
    const std::vector<HWND> buttons = test::ControlsOfClass(box, L"Button");
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(test::WindowText(buttons[0]), L"OK");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(test::WaitForExit(updater, 10000), 0);
}
#endif

}  // namespace
}  // namespace lumora
