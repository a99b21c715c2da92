// A running Lumora.exe of the test build meets "Lumora.exe /checkupdate" at
// different moments, end to end under Wine: the update server on 127.0.0.1
// says that a newer version exists, so the second process closes the first
// one's windows and offers the update. The first instance must have ended
// before the offer shows, and the registry must hold a run's work whole or
// not begun.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/http/Socket.h"
#include "registry/CustomRegistry.h"
#include "tests/e2e/LumoraDriver.h"
#include "tests/e2e/RegExport.h"
#include "tests/platform/LoopbackListener.h"
#include "tests/support/RawRegistry.h"
#include "tests/support/TestThread.h"
#include "tuning/TweakCatalogue.h"

#if !defined(LUMORA_UPDATE_PORT)
#error "LUMORA_UPDATE_PORT must be the port the test build's update check asks"
#endif

namespace lumora {
namespace {

using test::LumoraProcess;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr DWORD kOfferTimeoutMs = 60000;
// In the 32-bit view, as the program keeps it.
const std::wstring kProgramKey = test::In32BitView(L"HKEY_LOCAL_MACHINE\\Software\\OSTREL\\Lumora");
const test::Choices kChoices{0, 0, 0, 0};  // Windows 10, Intel, Cable, Boost

// The update server, holding its answer ("a newer version exists") until
// the test lets it go, so that the close request comes at a chosen moment.
class HeldUpdateServer {
  public:
    HeldUpdateServer() : listener_(LUMORA_UPDATE_PORT), thread_([this] { Serve(); }) {}
    // The thread, the last member, is waited for before the flags go.
    ~HeldUpdateServer() { stop_ = true; }
    HeldUpdateServer(const HeldUpdateServer&) = delete;
    HeldUpdateServer& operator=(const HeldUpdateServer&) = delete;

    std::uint16_t Port() const { return listener_.Port(); }
    // True once a request has arrived and waits for its answer.
    bool Asked() const { return asked_; }
    void Answer() { answer_ = true; }

  private:
    static Deadline Soon() { return Clock::now() + milliseconds(50); }
    void Serve() {
        std::intptr_t accepted = -1;
        while (accepted == -1 && !stop_) {
            accepted = listener_.Accept(Soon());
        }
        if (accepted == -1) {
            return;
        }
        TcpConnection connection(accepted);
        std::string head;
        char buffer[4096];
        while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536 && !stop_) {
            const std::ptrdiff_t count = connection.Receive(buffer, sizeof(buffer), Soon());
            if (count == 0) {
                return;
            }
            if (count > 0) {
                head.append(buffer, static_cast<std::size_t>(count));
            }
        }
        asked_ = true;
        while (!answer_ && !stop_) {
            test::SleepFor(milliseconds(5));
        }
        const std::string reply =
            "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 8\r\n\r\nOSTREL|1";
        if (stop_ ||
            !connection.SendAll(reply.data(), reply.size(), Clock::now() + milliseconds(10000))) {
            return;
        }
        // Held open until the client goes: it closes first, and the fixed
        // port is free again for the next server.
        while (!stop_) {
            const std::ptrdiff_t count = connection.Receive(buffer, sizeof(buffer), Soon());
            if (count == 0) {
                return;
            }
            if (count < 0) {
                test::SleepFor(milliseconds(10));
            }
        }
    }

    test::LoopbackListener listener_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> asked_{false};
    std::atomic<bool> answer_{false};
    test::TestThread thread_;
};

// The catalogue's keys as a .reg file names them (ExportKeys reads those below
// HKEY_LOCAL_MACHINE\Software in the native view of 64-bit Windows, where the
// runs keep them there).
std::wstring RegName(const TweakKey& key) {
    std::wstring path = key.path;
    while (!path.empty() && path.back() == L'\\') {
        path.pop_back();
    }
    return (key.root == RootKey::LocalMachine ? L"HKEY_LOCAL_MACHINE" : L"HKEY_CURRENT_USER") +
           path;
}

// What the runs touch, read past the program (ExportKeys): every catalogue value and the
// program key's values but the install date (stamped at every first start).
test::RegDump RunState() {
    std::vector<std::wstring> keys{kProgramKey};
    std::set<std::pair<std::wstring, std::wstring>> tuned;
    for (const TweakRow& row : Tweaks()) {
        const std::wstring key = RegName(row.key);
        if (std::find(keys.begin(), keys.end(), key) == keys.end()) {
            keys.push_back(key);
        }
        tuned.insert({test::Lowered(key), row.name});
    }
    const test::RegDump dump = test::ExportKeys(keys);
    test::RegDump state;
    for (const auto& [key, values] : dump) {
        for (const auto& [name, data] : values) {
            const bool ofProgram = key == test::Lowered(kProgramKey) && name != L"InstalledDate";
            if (ofProgram || tuned.count({key, name}) != 0) {
                state[key][name] = data;
            }
        }
    }
    return state;
}

std::string Differences(const test::RegDump& expected, const test::RegDump& actual) {
    std::wstring text;
    auto data = [](const test::RegDump& dump, const std::wstring& key, const std::wstring& name) {
        const auto section = dump.find(key);
        if (section == dump.end()) {
            return std::wstring(L"<absent>");
        }
        const auto value = section->second.find(name);
        return value == section->second.end() ? std::wstring(L"<absent>") : value->second;
    };
    std::set<std::pair<std::wstring, std::wstring>> names;
    for (const test::RegDump* dump : {&expected, &actual}) {
        for (const auto& [key, values] : *dump) {
            for (const auto& value : values) {
                names.insert({key, value.first});
            }
        }
    }
    for (const auto& [key, name] : names) {
        const std::wstring want = data(expected, key, name);
        const std::wstring got = data(actual, key, name);
        if (want != got) {
            text += key + L" : " + name + L" is " + got + L", expected " + want + L"\n";
        }
    }
    return testing::PrintToString(text);
}

// The moments at which the close request comes.
enum class Moment { Idle, ProgressSteps, RestoreConfirmation, RestartQuestion };

struct MomentCase {
    const char* what;
    Moment moment;
};

class CloseRequestEndToEndTest : public ::testing::Test {
  protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }

    // No program key and none of the catalogue's values, in either view.
    void Reset() {
        for (const TweakRow& row : Tweaks()) {
            DeleteRegValue(row.key.root, row.key.path, row.name, false);
            if (test::OnWindows64()) {
                DeleteRegValue(row.key.root, row.key.path, row.name, true);
            }
        }
        raw_.DeleteTree(RootKey::LocalMachine, L"\\Software\\OSTREL\\Lumora\\");
    }

    // Answers the message box of the running instance and waits for it to go.
    static void Answer(LumoraProcess& lumora, int button) {
        HWND box = lumora.WaitForMessageBox();
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(test::PressMessageBoxButton(box, button));
        ASSERT_TRUE(test::WaitUntilGone(box));
    }

    // A whole optimize run, answered No at its end.
    static void Optimize(LumoraProcess& lumora) {
        ASSERT_TRUE(lumora.Choose(kChoices));
        ASSERT_TRUE(lumora.Press(L"&Optimize now"));
        Answer(lumora, IDNO);
    }

    test::RawRegistry raw_;
};

TEST_F(CloseRequestEndToEndTest, TheRunningInstanceHasEndedBeforeTheOfferAndItsRunIsWhole) {
    // The two states a run may leave: none of its work, and all of it.
    const test::RegDump untouched = RunState();
    test::RegDump optimized;
    {
        LumoraProcess lumora;
        ASSERT_TRUE(lumora.Open());
        Optimize(lumora);
        EXPECT_EQ(lumora.Close(), 0);
        optimized = RunState();
    }
    ASSERT_NE(optimized, untouched);

    const MomentCase cases[] = {
        {"idle", Moment::Idle},
        {"during the optimize run's progress steps", Moment::ProgressSteps},
        {"the restore confirmation open", Moment::RestoreConfirmation},
        {"the restart question open", Moment::RestartQuestion},
    };
    for (const MomentCase& c : cases) {
        SCOPED_TRACE(c.what);
        Reset();
        HeldUpdateServer server;
        ASSERT_EQ(server.Port(), LUMORA_UPDATE_PORT) << "the update port is taken";
        LumoraProcess lumora;
        ASSERT_TRUE(lumora.Open());

        test::RegDump expected = untouched;
        test::Started check;
        auto startCheck = [&check] {
            check = test::Start(L"\"" + test::TestFolder() + L"Lumora.exe\" /checkupdate");
        };
        switch (c.moment) {
            case Moment::Idle:
                startCheck();
                break;
            case Moment::ProgressSteps: {
                // The check waits for its answer while the run starts.
                startCheck();
                test::WaitUntil([&server] { return server.Asked(); }, kOfferTimeoutMs);
                ASSERT_TRUE(server.Asked()) << "the update check did not ask the server";
                ASSERT_TRUE(lumora.Choose(kChoices));
                ASSERT_TRUE(lumora.Press(L"&Optimize now"));
                ASSERT_TRUE(lumora.WaitForProgressStep());
                ASSERT_LT(lumora.ProgressBar(), 90) << "the run was nearly over";
                expected = optimized;
                break;
            }
            case Moment::RestoreConfirmation:
                Optimize(lumora);
                ASSERT_TRUE(lumora.Press(L"&Restore"));
                ASSERT_NE(lumora.WaitForMessageBox(), nullptr);
                startCheck();
                expected = optimized;
                break;
            case Moment::RestartQuestion:
                ASSERT_TRUE(lumora.Choose(kChoices));
                ASSERT_TRUE(lumora.Press(L"&Optimize now"));
                ASSERT_NE(lumora.WaitForMessageBox(), nullptr);
                startCheck();
                expected = optimized;
                break;
        }
        server.Answer();

        HWND offer = nullptr;
        test::WaitUntil(
            [&check, &offer] {
                offer = test::FindMessageBox(check.id);
                return offer != nullptr || WaitForSingleObject(check.process, 0) == WAIT_OBJECT_0;
            },
            kOfferTimeoutMs);
        ASSERT_NE(offer, nullptr) << "no update offer";
        EXPECT_TRUE(lumora.HasEnded(0)) << "the running instance was still there at the offer";
        EXPECT_EQ(lumora.WaitForExit(), 0);
        ASSERT_TRUE(test::PressMessageBoxButton(offer, IDNO));
        EXPECT_EQ(test::WaitForExit(check, kOfferTimeoutMs), 0);

        const test::RegDump state = RunState();
        EXPECT_TRUE(state == expected) << Differences(expected, state);
    }
}

}  // namespace
}  // namespace lumora
