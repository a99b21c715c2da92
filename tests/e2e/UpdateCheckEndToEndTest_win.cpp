// "Lumora.exe /checkupdate" of the test build end to end under Wine: its
// update server is a scripted server on 127.0.0.1 at the build's port, an
// interactive instance is running, and the updater is a stand-in that records
// its command line. Both programs live in a folder of their own, as an
// installed copy would.
#include <windows.h>

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <fstream>
#include <iterator>
#include <string>

#include "tests/e2e/LumoraDriver.h"
#include "tests/e2e/RegExport.h"
#include "tests/platform/LoopbackServer.h"
#include "tests/support/Automation.h"
#include "tests/support/ProcessJob.h"
#include "tests/support/RawRegistry.h"
#include "ui/framework/WindowClasses.h"

#if !defined(LUMORA_UPDATE_PORT)
#error "LUMORA_UPDATE_PORT must be the port the test build's update check asks"
#endif

namespace lumora {
namespace {

using test::LumoraProcess;
using test::ServerScript;

// For what another process does in its own time under Wine.
constexpr DWORD kProcessTimeoutMs = 60000;

// Waits up to |timeoutMs| until no process of the program at |path| runs.
bool WaitForProgramToEnd(const std::wstring& path, DWORD timeoutMs) {
    const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool ended = true;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (CompareStringOrdinal(entry.szExeFile, -1, name.c_str(), -1, TRUE) != CSTR_EQUAL) {
            continue;
        }
        HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                     entry.th32ProcessID);
        if (process == nullptr) {
            continue;
        }
        wchar_t image[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        if (QueryFullProcessImageNameW(process, 0, image, &size) &&
            CompareStringOrdinal(image, -1, path.c_str(), -1, TRUE) == CSTR_EQUAL) {
            ended = WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0 && ended;
        }
        CloseHandle(process);
    }
    CloseHandle(snapshot);
    return ended;
}

const wchar_t kTitle[] = L"Lumora - Make your computer and internet run faster";
const wchar_t kQuestion[] =
    L"An update for this software is available to download.\r\n\r\n"
    L"Do you want to download and install a new version of this software?";

ServerScript Answering(const std::string& body) {
    // Held open after the reply: the client closes first, and the fixed port
    // is free again for the next server.
    return {{"HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
             std::to_string(body.size()) + "\r\n\r\n" + body},
            {},
            ServerScript::Then::Hold,
            ""};
}

class UpdateCheckEndToEndTest : public ::testing::Test {
  protected:
    void SetUp() override {
        raw_.DeleteTree(RootKey::LocalMachine, L"\\Software\\OSTREL\\Lumora\\");
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"lumora-update-e2e\\";
        CreateDirectoryW(folder_.c_str(), nullptr);
        ASSERT_TRUE(
            CopyFileW((test::TestFolder() + L"Lumora.exe").c_str(), Program().c_str(), FALSE));
        ASSERT_TRUE(
            CopyFileW((test::TestFolder() + L"recorder.exe").c_str(), Updater().c_str(), FALSE));
        DeleteFileW(UpdaterLog().c_str());
    }
    void TearDown() override {
        DeleteFileW(UpdaterLog().c_str());
        DeleteFileW(Updater().c_str());
        DeleteFileW(Program().c_str());
        RemoveDirectoryW(folder_.c_str());
        raw_.DeleteTree(RootKey::LocalMachine, L"\\Software\\OSTREL\\Lumora\\");
    }

    std::wstring Program() const { return folder_ + L"Lumora.exe"; }
    std::wstring Updater() const { return folder_ + L"LumoraUpdate.exe"; }
    std::wstring UpdaterLog() const { return Updater() + L".log"; }
    std::wstring RecordedUpdaterStart() const {
        std::ifstream in(UpdaterLog().c_str(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()),
                            bytes.size() / sizeof(wchar_t));
    }

    // The check in a job of its own, with the updater it may start.
    test::Started StartCheck(test::ProcessJob& job) const {
        return job.Start(L"\"" + Program() + L"\" /checkupdate");
    }

    // With an instance running and the server offering a new version: the
    // instance is gone before the question shows; the answer is |answer|.
    void AnswerTheOffer(int answer) {
        test::LoopbackServer server(Answering("OSTREL|1"), LUMORA_UPDATE_PORT);
        ASSERT_EQ(server.Port(), LUMORA_UPDATE_PORT) << "the update port is taken";
        LumoraProcess running;
        ASSERT_TRUE(running.Open(Program()));
        HWND runningWindow = running.Main();

        test::ProcessJob job;
        test::Started check = StartCheck(job);
        HWND question = nullptr;
        test::WaitUntil([&] { return (question = test::FindMessageBox(check.id)) != nullptr; },
                        kProcessTimeoutMs);
        ASSERT_NE(question, nullptr)
            << "no question; the server saw " << testing::PrintToString(server.Request());
        EXPECT_FALSE(IsWindow(runningWindow)) << "the running instance's window is still there";
        EXPECT_EQ(FindWindowW(kMainFormClass, nullptr), nullptr);
        EXPECT_EQ(running.WaitForExit(), 0) << "the running instance did not end";
        EXPECT_EQ(GetWindow(question, GW_OWNER), nullptr);
        EXPECT_EQ(test::WindowText(question), kTitle);
        EXPECT_EQ(test::MessageBoxText(question), kQuestion);
        EXPECT_NE(server.Request().find("GET /downloads/update/?product=lumora&version=2.9.5.2016 "
                                        "HTTP/1.1\r\n"),
                  std::string::npos);

        ASSERT_TRUE(test::PressMessageBoxButton(question, answer));
        EXPECT_EQ(test::WaitForExit(check, kProcessTimeoutMs), 0);
        // Once all have ended, an updater that was started has written its log.
        // The updater runs with the user's rights: where the check runs with
        // an elevated token (the elevated half of a split one on Windows with
        // UAC; Wine's, which every program has), the desktop's shell starts
        // it, outside the job, and has done so by the time the check ended.
        EXPECT_TRUE(job.WaitUntilAllEnded(kProcessTimeoutMs));
        EXPECT_TRUE(WaitForProgramToEnd(Updater(), kProcessTimeoutMs));
        EXPECT_EQ(!RecordedUpdaterStart().empty(), answer == IDYES) << "updater started";
        EXPECT_LE(job.StartedCount(), answer == IDYES ? 2u : 1u)
            << "the check started something besides the updater";
        EXPECT_EQ(FindWindowW(kMainFormClass, nullptr), nullptr) << "a main window opened";
    }

    test::RawRegistry raw_;
    std::wstring folder_;
};

TEST_F(UpdateCheckEndToEndTest, NoToTheOfferStartsNothing) {
    AnswerTheOffer(IDNO);
    EXPECT_EQ(RecordedUpdaterStart(), L"");
}

TEST_F(UpdateCheckEndToEndTest, YesToTheOfferStartsTheUpdaterOfTheProgramFolder) {
    AnswerTheOffer(IDYES);
    const std::wstring line = RecordedUpdaterStart();
    ASSERT_FALSE(line.empty()) << "the updater was not started";
    // The updater's own path (as the shell quotes it), and no arguments.
    const std::size_t name = line.find(L"LumoraUpdate.exe");
    ASSERT_NE(name, std::wstring::npos) << testing::PrintToString(line);
    EXPECT_EQ(line.find_first_not_of(L"\" \r\n", name + 16), std::wstring::npos)
        << testing::PrintToString(line);
    std::wstring path = line.substr(line.front() == L'"' ? 1 : 0);
    path = path.substr(0, path.find(L"LumoraUpdate.exe") + 16);
    EXPECT_EQ(test::Lowered(path), test::Lowered(Updater()));
    EXPECT_EQ(line.find(L"LumoraUpdate.exe", name + 1), std::wstring::npos) << "started twice";
}

// No newer version: the running instance is brought back from the task bar
// and nothing is shown.
TEST_F(UpdateCheckEndToEndTest, NoNewVersionRestoresTheRunningInstance) {
    test::LoopbackServer server(Answering("OSTREL|0"), LUMORA_UPDATE_PORT);
    ASSERT_EQ(server.Port(), LUMORA_UPDATE_PORT) << "the update port is taken";
    LumoraProcess running;
    ASSERT_TRUE(running.Open(Program()));
    HWND main = running.Main();
    ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(test::WaitUntil([main] { return IsIconic(main) != FALSE; }));

    test::ProcessJob job;
    test::Started check = StartCheck(job);
    bool shown = false;
    test::WaitUntil(
        [&] {
            shown = shown || test::FindMessageBox(check.id) != nullptr;
            return WaitForSingleObject(check.process, 0) == WAIT_OBJECT_0;
        },
        kProcessTimeoutMs);
    EXPECT_EQ(test::WaitForExit(check, 0), 0);
    EXPECT_FALSE(shown);
    EXPECT_FALSE(server.Request().empty()) << "the update server was not asked";
    ASSERT_TRUE(IsWindow(main));
    EXPECT_TRUE(test::WaitUntil([main] { return !IsIconic(main); }));
    EXPECT_TRUE(IsWindowVisible(running.Main()));
    EXPECT_EQ(running.Close(), 0);
    EXPECT_EQ(RecordedUpdaterStart(), L"");
}

}  // namespace
}  // namespace lumora
