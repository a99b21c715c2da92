// The shutdown privilege switch, read back from the token, and the restart
// request through a recorder: no test ever hands a restart to the system.
#include <gtest/gtest.h>

#include <windows.h>

#include <sstream>
#include <string>

#include "platform/SystemRestart.h"
#include "tests/platform/helpers/ShutdownPrivilegeState.h"
#include "tests/support/Process.h"
#include "tests/support/RawRegistry.h"

namespace lumora {
namespace {

using test::PrivilegeState;
using test::ShutdownPrivilegeState;

struct Recorded {
    int requests = 0;
    unsigned int flags = 0;
    unsigned long reason = 99;
    PrivilegeState privilegeDuringRequest = PrivilegeState::Unknown;
    bool accept = true;
};
Recorded g_recorded;

bool RecordRequest(unsigned int flags, unsigned long reason) {
    ++g_recorded.requests;
    g_recorded.flags = flags;
    g_recorded.reason = reason;
    g_recorded.privilegeDuringRequest = ShutdownPrivilegeState();
    return g_recorded.accept;
}

// Every test runs with the recorder in place of ExitWindowsEx.
class SystemRestartTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_recorded = Recorded{};
        previous_ = ReplaceRestartRequest(RecordRequest);
    }
    void TearDown() override {
        ReplaceRestartRequest(previous_);
        SetShutdownPrivilege(false);
    }
    RestartRequest previous_ = nullptr;
};

TEST_F(SystemRestartTest, PrivilegeSwitchesOnAndOff) {
    ASSERT_NE(ShutdownPrivilegeState(), PrivilegeState::Absent)
        << "the test process's token lacks the shutdown privilege";
    SetShutdownPrivilege(true);
    EXPECT_EQ(ShutdownPrivilegeState(), PrivilegeState::Enabled);
    SetShutdownPrivilege(true);
    EXPECT_EQ(ShutdownPrivilegeState(), PrivilegeState::Enabled);
    SetShutdownPrivilege(false);
    EXPECT_EQ(ShutdownPrivilegeState(), PrivilegeState::Disabled);
    SetShutdownPrivilege(false);
    EXPECT_EQ(ShutdownPrivilegeState(), PrivilegeState::Disabled);
}

TEST_F(SystemRestartTest, RestartAsksForAForcedRebootWithThePrivilegeHeldOnlyAroundIt) {
    for (const bool accepted : {true, false}) {
        SCOPED_TRACE(accepted ? "restart accepted" : "restart refused");
        g_recorded = Recorded{};
        g_recorded.accept = accepted;
        RestartWindows();
        EXPECT_EQ(g_recorded.requests, 1);
        EXPECT_EQ(g_recorded.flags, 6u);  // EWX_REBOOT | EWX_FORCE
        EXPECT_EQ(g_recorded.reason, 0u);
        EXPECT_EQ(g_recorded.privilegeDuringRequest, PrivilegeState::Enabled);
        EXPECT_EQ(ShutdownPrivilegeState(), PrivilegeState::Disabled);
    }
}

// A token without the privilege: the switch fails silently and the request
// is still handed over (Windows refuses it); the caller carries on.
TEST_F(SystemRestartTest, TokenWithoutThePrivilegeStaysSilent) {
    const std::string out =
        test::RunAndCapture(L"\"" + test::TestFolder() + L"restart_probe.exe\"", 30000);
    std::istringstream fields(out);
    std::string removed, atEnd;
    int requests = -1;
    unsigned int flags = 0;
    fields >> removed >> atEnd >> requests >> flags;
    ASSERT_FALSE(fields.fail()) << "probe printed: " << out;
    if (removed != "absent" && test::RunningUnderWine()) {
        GTEST_SKIP() << "Wine keeps a removed privilege in the token (" << removed << ")";
    }
    EXPECT_EQ(removed, "absent");
    EXPECT_EQ(atEnd, "absent");
    EXPECT_EQ(requests, 1);
    EXPECT_EQ(flags, 6u);
}

}  // namespace
}  // namespace lumora
