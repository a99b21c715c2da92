// "&Optimize now" and "&Restore" of the test build's Lumora.exe, end to end
// under Wine: choices made in the main window, the progress dialog followed
// as it goes, the questions answered, and the registry read back past the
// program (ExportKeys). The expected registry states are written out by hand here, value
// by value, independently of the program's catalogue. On 64-bit Windows the
// keys below HKEY_LOCAL_MACHINE\Software are named as the native view has
// them, the 32-bit view's below Software\Wow6432Node (test::In32BitView).
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "registry/CustomRegistry.h"
#include "tests/e2e/LumoraDriver.h"
#include "tests/e2e/RegExport.h"
#include "tests/support/Automation.h"
#include "tests/support/CatalogueRows.h"
#include "tests/support/RawRegistry.h"
#include "ui/framework/WindowClasses.h"

namespace lumora {
namespace {

using test::Choices;
using test::LumoraProcess;

// ---------------------------------------------------------------------------
// The main window's items.
namespace item {
constexpr int kWindows10 = 0;
constexpr int kWindows7 = 2;
constexpr int kServer2003 = 7;
constexpr int kServer2000 = 8;
constexpr int kIntel = 0;
constexpr int kAmd = 1;
constexpr int kVia = 2;
constexpr int kCable = 0;
constexpr int kDialUp = 2;
constexpr int kLan = 6;
constexpr int kIsdn = 7;
constexpr int kBoost = 0;
constexpr int kMaximumBoost = 1;
}  // namespace item

// ---------------------------------------------------------------------------
// The keys, as a .reg file names them.
const wchar_t kWindowMetrics[] = L"HKEY_CURRENT_USER\\Control Panel\\Desktop\\WindowMetrics";
const wchar_t kIeMain[] = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main";
const wchar_t kInternetSettings[] =
    L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const wchar_t kPriority[] =
    L"HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\PriorityControl";
const wchar_t kSessionManager[] =
    L"HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Session Manager";
const wchar_t kTcpip[] =
    L"HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const wchar_t kP3[] = L"HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\P3\\Parameters";
// The program key and its copies stay in the 32-bit view: the installer and
// the updater find them there.
const std::wstring kProgram = test::In32BitView(L"HKEY_LOCAL_MACHINE\\Software\\OSTREL\\Lumora");

// One value as the export writes it; no data: the value must be absent.
struct Value {
    std::wstring key;
    std::wstring name;
    std::optional<std::wstring> data;
};
using Values = std::vector<Value>;

Values operator+(Values a, const Values& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The same values, all required absent.
Values Absent(Values values) {
    for (Value& value : values) {
        value.data.reset();
    }
    return values;
}

// |base| with the values of |changes| in place of those of the same name.
Values With(Values base, const Values& changes) {
    for (const Value& change : changes) {
        bool replaced = false;
        for (Value& value : base) {
            if (value.key == change.key && value.name == change.name) {
                value.data = change.data;
                replaced = true;
            }
        }
        if (!replaced) {
            base.push_back(change);
        }
    }
    return base;
}

// The same values under the program key: the copies an optimize run keeps.
Values AsCopies(Values values) {
    for (Value& value : values) {
        value.key = kProgram;
    }
    return values;
}

// The same values in the 32-bit view of 64-bit Windows.
Values In32BitView(Values values) {
    for (Value& value : values) {
        value.key = test::In32BitView(value.key);
    }
    return values;
}

// ---------------------------------------------------------------------------
// What an optimize run leaves, group by group.

// The values of one group of the catalogue's rows as an optimize run leaves
// them for a fast connection and the speed setting Boost, or as the copies'
// defaults.
Values RowValues(test::RowGroup group, bool copyDefaults = false) {
    Values values;
    for (const test::CatalogueRow& row : test::RowsOf(group)) {
        values.push_back({test::RegExportKey(row.root, row.path), row.name,
                          test::RegExportData(copyDefaults ? *row.copyDefault : row.optimized)});
    }
    return values;
}

// The eleven values whose previous contents are kept, as an optimize run
// leaves them. KeepAliveTime in the Tcpip parameters is written twice in a
// run, 300000 and then 7200000: the later stands.
Values KeptValuesOptimized(const wchar_t* maxConnections) {
    return With(RowValues(test::RowGroup::Kept),
                {{kInternetSettings, L"MaxConnectionsPerServer", maxConnections},
                 {kInternetSettings, L"MaxConnectionsPer1_0Server", maxConnections}});
}
const wchar_t kFourConnections[] = L"dword:00000004";
const wchar_t kEightConnections[] = L"dword:00000008";

// Those eleven as a restore leaves them when nothing could be read before
// the first optimize run: the defaults of the copies.
const Values kKeptValueDefaults = RowValues(test::RowGroup::Kept, true);

// Written by every optimize run, deleted by every restore. (The Tcpip
// parameters' EnablePMTUDiscovery is written by every run too, but a fast
// connection then overwrites it: it is in the connection groups.)
const Values kPlainValues = RowValues(test::RowGroup::Plain);

Value PathMtuDiscovery(std::optional<std::wstring> data) {
    return {kTcpip, L"EnablePMTUDiscovery", data};
}

// Written only for a fast connection (not Dial-up 56k, not ISDN).
const Values kFastConnectionValues = RowValues(test::RowGroup::FastConnection);

// Written for every edition but Windows (Server) 2000.
const Values kNotWindows2000Values = RowValues(test::RowGroup::NotWindows2000);
const Values kServerValues = RowValues(test::RowGroup::Server);
const Values kWorkstationValues = RowValues(test::RowGroup::Workstation);

// On 64-bit Windows the runs keep the rows below HKEY_LOCAL_MACHINE\Software
// in the native view. Those whose keys the 32-bit view does not share are
// all absent from it, unless a case says otherwise (ExpectRegistry).
Values RedirectedRowsAbsentFrom32BitView() {
    Values values;
    for (const test::CatalogueRow& row : test::CatalogueRows()) {
        if (test::OnWindows64() && test::ViewOf(row) == test::RowView::Redirected) {
            values.push_back({test::RegExportKey(row.root, row.path), row.name, std::nullopt});
        }
    }
    return In32BitView(values);
}

// The choices stored in the program key; |restoreFlag| with the copies.
Values ProgramKeyChoices(const Choices& choices) {
    auto dword = [](int n) {
        wchar_t text[32];
        swprintf(text, 32, L"dword:%08x", static_cast<unsigned>(n));
        return std::wstring(text);
    };
    return {{kProgram, L"InternetType", dword(choices.connectionType)},
            {kProgram, L"ProcessorType", dword(choices.processorItem)},
            {kProgram, L"SpeedSetting", dword(choices.speed)}};
}
const Values kRestoreFlagSet = {{kProgram, L"Restore", L"dword:00000001"}};
const Values kRestoreFlagGone = {{kProgram, L"Restore", std::nullopt}};

// ---------------------------------------------------------------------------
// The progress dialog, as the user sees it.
const wchar_t kMainTitle[] = L"Lumora - Make your computer and internet run faster";
const wchar_t kProgressTitle[] = L"Updating computer's system and internet settings";

struct StepRun {
    const wchar_t* text;
    int count;
};
const StepRun kFindingSteps[] = {
    {L"Finding modem information", 2},
    {L"Finding computer information", 2},
    {L"Finding total physical memory installed", 3},
    {L"Finding hardware adapters", 1},
    {L"Finding display device", 2},
    {L"Finding 3D graphics device", 4},
    {L"Finding processor information", 4},
    {L"Finding input devices", 2},
    {L"Finding hard drives", 3},
};

struct RunLook {
    const wchar_t* heading;
    std::vector<std::wstring> steps;  // one text per step
    std::vector<int> bars;            // the bar after each step
};

std::vector<std::wstring> Steps(std::initializer_list<StepRun> last) {
    std::vector<std::wstring> steps;
    for (const StepRun& run : kFindingSteps) {
        steps.insert(steps.end(), static_cast<std::size_t>(run.count), run.text);
    }
    for (const StepRun& run : last) {
        steps.insert(steps.end(), static_cast<std::size_t>(run.count), run.text);
    }
    return steps;
}

const RunLook& OptimizeLook() {
    static const RunLook look{L"Optimizing the computer's system and internet settings",
                              Steps({{L"Backing up system and internet settings", 3},
                                     {L"Writing new system and internet settings", 6}}),
                              {3,  6,  9,  12, 15, 18, 21, 24, 27, 30, 33, 36, 39, 42, 45, 48,
                               52, 55, 58, 61, 64, 67, 70, 73, 76, 79, 82, 85, 88, 91, 94, 97}};
    return look;
}

const RunLook& RestoreLook() {
    static const RunLook look{L"Restoring the computer's system and internet settings",
                              Steps({{L"Restoring system and internet settings", 6}}),
                              {3,  7,  10, 14, 17, 21, 24, 28, 31, 34, 38, 41, 45, 48, 52,
                               55, 59, 62, 66, 69, 72, 76, 79, 83, 86, 90, 93, 97, 100}};
    return look;
}

const wchar_t kRestartQuestion[] =
    L"The changes to the computer's system and internet performance settings have finished."
    L"\r\n\r\nYou will need to restart Windows for the changes to become active."
    L"\r\n\r\nClick Yes to restart the computer now, or click No to restart later.";
const wchar_t kRestoreQuestion[] =
    L"This will restore all changes made to the computer's system and internet settings to "
    L"their original recommended values.\r\n\r\nClick OK to continue.";

// Every sample must be a moment of the run: a bar the run shows after some
// step, and the text of that step with its three dots, or of the next step
// with one to three dots. Before its first dot a run shows what the label
// showed last, |leftover|. Bars never go back.
void ExpectTraceOfRun(const test::ProgressTrace& trace, const RunLook& look,
                      const std::wstring& leftover) {
    EXPECT_EQ(trace.title, kProgressTitle);
    EXPECT_EQ(trace.heading, look.heading);
    EXPECT_FALSE(trace.samples.empty()) << "the dialog never answered while it was shown";
    int lastBar = 0;
    for (const test::ProgressSample& sample : trace.samples) {
        SCOPED_TRACE(testing::Message() << "bar " << sample.bar);
        std::size_t done = 0;  // steps done when the bar shows this
        if (sample.bar != 0) {
            while (done < look.bars.size() && look.bars[done] != sample.bar) {
                ++done;
            }
            ASSERT_LT(done, look.bars.size()) << "a bar the run never shows";
            ++done;
        }
        EXPECT_GE(sample.bar, lastBar);
        lastBar = sample.bar;
        std::set<std::wstring> allowed;
        allowed.insert(done > 0 ? look.steps[done - 1] + L"..." : leftover);
        if (done < look.steps.size()) {
            for (const wchar_t* dots : {L".", L"..", L"..."}) {
                allowed.insert(look.steps[done] + dots);
            }
        }
        EXPECT_EQ(allowed.count(sample.label), 1u) << testing::PrintToString(sample.label);
    }
}

// ---------------------------------------------------------------------------

class RunsEndToEndTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetRegistry(); }
    void TearDown() override {
        if (lumora_ != nullptr) {
            EXPECT_EQ(lumora_->Close(), 0);
        }
        ResetRegistry();
    }

    // The known state: none of the values below, in either view, and no
    // program key.
    void ResetRegistry() {
        for (const Value& value : AllTunedValues()) {
            const KeyPlace place = Place(value.key);
            DeleteRegValue(place.root, place.path, value.name, false);
            if (test::OnWindows64()) {
                DeleteRegValue(place.root, place.path, value.name, true);
            }
        }
        raw_.DeleteTree(RootKey::LocalMachine, L"\\Software\\OSTREL\\Lumora\\");
    }
    // Values present before the program ever ran.
    void Seed(const Values& values) {
        for (const Value& value : values) {
            const KeyPlace place = Place(value.key);
            const std::wstring data = value.data.value();
            if (data.rfind(L"dword:", 0) == 0) {
                raw_.Put(place.root, place.path, value.name, REG_DWORD,
                         test::DwordBytes(std::wcstoul(data.c_str() + 6, nullptr, 16)), place.view);
            } else {
                raw_.Put(place.root, place.path, value.name, REG_SZ,
                         test::TextBytes(data.substr(1, data.size() - 2), true), place.view);
            }
        }
    }

    static Values AllTunedValues() {
        return KeptValuesOptimized(kFourConnections) + kPlainValues +
               Values{PathMtuDiscovery(std::nullopt)} + kFastConnectionValues +
               kNotWindows2000Values + kServerValues + kWorkstationValues;
    }
    // A key as a .reg file names it, as the registry calls reach it.
    struct KeyPlace {
        RootKey root;
        std::wstring path;
        RegistryView view;
    };
    static KeyPlace Place(const std::wstring& key) {
        const std::wstring hklm = L"HKEY_LOCAL_MACHINE";
        const std::wstring software = L"\\Software\\";
        const std::wstring view32 = software + L"Wow6432Node\\";
        if (key.compare(0, hklm.size(), hklm) != 0) {
            return {RootKey::CurrentUser, key.substr(std::wstring(L"HKEY_CURRENT_USER").size()),
                    RegistryView::Program};
        }
        const std::wstring path = key.substr(hklm.size());
        if (test::OnWindows64() && path.compare(0, view32.size(), view32) == 0) {
            return {RootKey::LocalMachine, software + path.substr(view32.size()),
                    RegistryView::Program};
        }
        const bool native = test::OnWindows64() && path.compare(0, software.size(), software) == 0;
        return {RootKey::LocalMachine, path, native ? RegistryView::Native : RegistryView::Program};
    }

    LumoraProcess& Open() {
        lastStep_.clear();
        lumora_ = std::make_unique<LumoraProcess>();
        EXPECT_TRUE(lumora_->Open());
        return *lumora_;
    }

    // Presses "&Optimize now" with these choices, follows the run and
    // answers No to the restart question.
    void Optimize(const Choices& choices) {
        LumoraProcess& lumora = *lumora_;
        ASSERT_TRUE(lumora.Choose(choices));
        ASSERT_TRUE(lumora.Press(L"&Optimize now"));
        FollowRunAndDecline(OptimizeLook(), L"Writing new system and internet settings...", 97);
        EXPECT_TRUE(IsWindowEnabled(lumora.Button(L"&Restore")));
    }

    // Presses "&Restore" with these choices, confirms with OK, follows the
    // run and answers No to the restart question.
    void Restore(const Choices& choices) {
        LumoraProcess& lumora = *lumora_;
        ASSERT_TRUE(lumora.Choose(choices));
        ASSERT_TRUE(lumora.Press(L"&Restore"));
        HWND confirm = lumora.WaitForMessageBox();
        ASSERT_NE(confirm, nullptr);
        EXPECT_EQ(test::WindowText(confirm), kMainTitle);
        EXPECT_EQ(test::MessageBoxText(confirm), kRestoreQuestion);
        EXPECT_NE(GetDlgItem(confirm, IDCANCEL), nullptr);
        ASSERT_TRUE(test::PressMessageBoxButton(confirm, IDOK));
        FollowRunAndDecline(RestoreLook(), L"Restoring system and internet settings...", 100);
        EXPECT_FALSE(IsWindowEnabled(lumora.Button(L"&Restore")));
    }

    void FollowRunAndDecline(const RunLook& look, const std::wstring& lastStep, int lastBar) {
        LumoraProcess& lumora = *lumora_;
        const test::ProgressTrace trace = lumora.FollowProgress();
        ExpectTraceOfRun(trace, look, lastStep_);

        HWND question = lumora.WaitForMessageBox();
        ASSERT_NE(question, nullptr);
        // The dialog is closed, its bar where the last step left it.
        EXPECT_FALSE(IsWindowVisible(lumora.ProgressDialog()));
        EXPECT_EQ(lumora.ProgressBar(), lastBar);
        EXPECT_EQ(lumora.ProgressLabel(), lastStep);
        lastStep_ = lastStep;
        EXPECT_EQ(GetWindow(question, GW_OWNER), lumora.Main());
        EXPECT_EQ(test::WindowText(question), kMainTitle);
        EXPECT_EQ(test::MessageBoxText(question), kRestartQuestion);
        HWND no = GetDlgItem(question, IDNO);
        ASSERT_NE(no, nullptr);
        EXPECT_NE(GetDlgItem(question, IDYES), nullptr);
        EXPECT_EQ(GetWindowLongW(no, GWL_STYLE) & 0xF, BS_DEFPUSHBUTTON) << "No is the default";
        ASSERT_TRUE(test::PressMessageBoxButton(question, IDNO));
        ASSERT_TRUE(test::WaitUntilGone(question));
        HWND main = lumora.Main();
        EXPECT_TRUE(test::WaitUntil([main] { return IsWindowEnabled(main) != FALSE; }));
    }

    // Compares the registry, read past the program (ExportKeys), with |expected|; the program
    // key must hold nothing else but its install date, and the 32-bit view
    // none of the rows the runs keep in the native one.
    static void ExpectRegistry(const Values& stated) {
        const Values expected = With(RedirectedRowsAbsentFrom32BitView(), stated);
        std::vector<std::wstring> keys;
        for (const Value& value : expected) {
            if (std::find(keys.begin(), keys.end(), value.key) == keys.end()) {
                keys.push_back(value.key);
            }
        }
        const test::RegDump dump = test::ExportKeys(keys);
        auto valuesOf = [&dump](const std::wstring& key) -> const test::RegKeyValues& {
            static const test::RegKeyValues none;
            const auto found = dump.find(test::Lowered(key));
            return found == dump.end() ? none : found->second;
        };
        for (const Value& value : expected) {
            const test::RegKeyValues& values = valuesOf(value.key);
            const auto found = values.find(value.name);
            const std::wstring where = value.key + L" : " + value.name;
            if (!value.data) {
                if (found != values.end()) {
                    ADD_FAILURE() << testing::PrintToString(where) << " is "
                                  << testing::PrintToString(found->second) << ", expected absent";
                }
            } else if (found == values.end()) {
                ADD_FAILURE() << testing::PrintToString(where) << " is absent, expected "
                              << testing::PrintToString(*value.data);
            } else {
                EXPECT_EQ(found->second, *value.data) << testing::PrintToString(where);
            }
        }
        for (const auto& [name, data] : valuesOf(kProgram)) {
            const bool listed = std::any_of(expected.begin(), expected.end(), [&](const Value& v) {
                return v.key == kProgram && v.name == name && v.data.has_value();
            });
            EXPECT_TRUE(listed || name == L"InstalledDate")
                << "the program key holds " << testing::PrintToString(name + L"=" + data);
        }
    }

    test::RawRegistry raw_;
    std::unique_ptr<LumoraProcess> lumora_;
    std::wstring lastStep_;  // what the step label showed at the end of the last run
};

// ---------------------------------------------------------------------------
// Optimize, then restore, each with its choices, from a known registry.

struct RunCase {
    const char* what;
    Values before;  // present before the program ever ran
    Choices optimize;
    Values optimized;
    Choices restore;
    Values restored;
};

// Originals of the kept values in the first case, and two values of rows
// that keep no copy.
const Values kOriginalsKept = {
    {kWindowMetrics, L"MinAnimate", L"\"0\""},
    {kPriority, L"Win32PrioritySeparation", L"dword:00000026"},
    {kInternetSettings, L"MaxConnectionsPerServer", L"dword:0000000a"},
    {kTcpip, L"KeepAliveTime", L"dword:0001d4c0"},
};
const Values kOriginalsNotKept = {
    {kIeMain, L"Use StyleSheets", L"\"No\""},
    {kTcpip, L"SackOpts", L"dword:00000000"},
};

const Choices kWin10CableBoost{item::kWindows10, item::kAmd, item::kCable, item::kBoost};
const Choices kServer2000DialUpMax{item::kServer2000, item::kIntel, item::kDialUp,
                                   item::kMaximumBoost};
const Choices kServer2003Isdn{item::kServer2003, item::kVia, item::kIsdn, item::kBoost};
const Choices kWin7DialUp{item::kWindows7, item::kIntel, item::kDialUp, item::kBoost};
const Choices kWin7Cable{item::kWindows7, item::kIntel, item::kCable, item::kBoost};

// Everything else a restore deletes, whatever the choices.
const Values kRestoredAlways =
    Absent(kPlainValues) + Values{PathMtuDiscovery(std::nullopt)} + kRestoreFlagGone;

const RunCase kRunCases[] = {
    {"Windows 10, Cable, Boost", kOriginalsKept + kOriginalsNotKept, kWin10CableBoost,
     KeptValuesOptimized(kFourConnections) + kPlainValues + kFastConnectionValues +
         Values{PathMtuDiscovery(L"dword:00000001")} + kNotWindows2000Values +
         Absent(kServerValues) + kWorkstationValues + ProgramKeyChoices(kWin10CableBoost) +
         kRestoreFlagSet + AsCopies(With(kKeptValueDefaults, kOriginalsKept)),
     kWin10CableBoost,
     // The kept values get their originals back; SackOpts and
     // "Use StyleSheets" keep no copy and are deleted.
     With(kKeptValueDefaults, kOriginalsKept) + kRestoredAlways + Absent(kFastConnectionValues) +
         Absent(kNotWindows2000Values) + Absent(kServerValues) + Absent(kWorkstationValues) +
         ProgramKeyChoices(kWin10CableBoost) + Absent(AsCopies(kKeptValueDefaults))},

    // Windows 2000 and a slow connection: what those rows held before stays
    // through both runs.
    {"Windows Server 2000, Dial-up 56k, Maximum Boost",
     {{kSessionManager, L"EnablePrefetcher", L"dword:00000003"},
      {kTcpip, L"DefaultTTL", L"dword:00000080"}},
     kServer2000DialUpMax,
     KeptValuesOptimized(kEightConnections) + kPlainValues +
         With(Absent(kFastConnectionValues), {{kTcpip, L"DefaultTTL", L"dword:00000080"}}) +
         Values{PathMtuDiscovery(L"dword:00000000")} +
         With(Absent(kNotWindows2000Values),
              {{kSessionManager, L"EnablePrefetcher", L"dword:00000003"}}) +
         kServerValues + Absent(kWorkstationValues) + ProgramKeyChoices(kServer2000DialUpMax) +
         kRestoreFlagSet + AsCopies(kKeptValueDefaults),
     kServer2000DialUpMax,
     kKeptValueDefaults + kRestoredAlways +
         With(Absent(kFastConnectionValues), {{kTcpip, L"DefaultTTL", L"dword:00000080"}}) +
         With(Absent(kNotWindows2000Values),
              {{kSessionManager, L"EnablePrefetcher", L"dword:00000003"}}) +
         Absent(kServerValues) + Absent(kWorkstationValues) +
         ProgramKeyChoices(kServer2000DialUpMax) + Absent(AsCopies(kKeptValueDefaults))},

    {"Windows Server 2003, ISDN",
     {{kP3, L"HackFlags", L"dword:00000005"}},
     kServer2003Isdn,
     KeptValuesOptimized(kFourConnections) + kPlainValues + Absent(kFastConnectionValues) +
         Values{PathMtuDiscovery(L"dword:00000000")} + kNotWindows2000Values + kServerValues +
         With(Absent(kWorkstationValues), {{kP3, L"HackFlags", L"dword:00000005"}}) +
         ProgramKeyChoices(kServer2003Isdn) + kRestoreFlagSet + AsCopies(kKeptValueDefaults),
     kServer2003Isdn,
     kKeptValueDefaults + kRestoredAlways + Absent(kFastConnectionValues) +
         Absent(kNotWindows2000Values) + Absent(kServerValues) +
         With(Absent(kWorkstationValues), {{kP3, L"HackFlags", L"dword:00000005"}}) +
         ProgramKeyChoices(kServer2003Isdn) + Absent(AsCopies(kKeptValueDefaults))},

    // The restore deletes the connection rows for the connection chosen at
    // the restore, also those the optimize run never wrote.
    {"optimized with Dial-up 56k, restored with Cable",
     {{kTcpip, L"SackOpts", L"dword:00000000"}},
     kWin7DialUp,
     KeptValuesOptimized(kFourConnections) + kPlainValues +
         With(Absent(kFastConnectionValues), {{kTcpip, L"SackOpts", L"dword:00000000"}}) +
         Values{PathMtuDiscovery(L"dword:00000000")} + kNotWindows2000Values +
         Absent(kServerValues) + kWorkstationValues + ProgramKeyChoices(kWin7DialUp) +
         kRestoreFlagSet + AsCopies(kKeptValueDefaults),
     kWin7Cable,
     kKeptValueDefaults + kRestoredAlways + Absent(kFastConnectionValues) +
         Absent(kNotWindows2000Values) + Absent(kServerValues) + Absent(kWorkstationValues) +
         ProgramKeyChoices(kWin7DialUp) + Absent(AsCopies(kKeptValueDefaults))},
};

TEST_F(RunsEndToEndTest, OptimizeThenRestore) {
    for (const RunCase& c : kRunCases) {
        SCOPED_TRACE(c.what);
        ResetRegistry();
        Seed(c.before);
        ASSERT_TRUE(Open().Main() != nullptr);
        Optimize(c.optimize);
        {
            SCOPED_TRACE("after the optimize run");
            ExpectRegistry(c.optimized);
        }
        Restore(c.restore);
        {
            SCOPED_TRACE("after the restore run");
            ExpectRegistry(c.restored);
        }
        EXPECT_EQ(lumora_->Close(), 0);
        lumora_.reset();
    }
}

// A second optimize run keeps the copies of the first, even after a kept
// value was changed by hand in between; the restore then brings back what
// was there before the first run. Restored with ISDN chosen, the connection
// rows keep what the optimize run wrote, but for EnablePMTUDiscovery, which
// every restore deletes with the rows that are always written.
TEST_F(RunsEndToEndTest, ASecondOptimizeLeavesTheCopiesAsTheyWere) {
    Seed(kOriginalsKept);
    ASSERT_TRUE(Open().Main() != nullptr);
    Optimize(kWin7Cable);
    Seed({{kPriority, L"Win32PrioritySeparation", L"dword:00000018"},
          {kWindowMetrics, L"MinAnimate", L"\"2\""}});
    const Choices second{item::kWindows7, item::kVia, item::kLan, item::kMaximumBoost};
    Optimize(second);
    ExpectRegistry(KeptValuesOptimized(kEightConnections) + kPlainValues + kFastConnectionValues +
                   Values{PathMtuDiscovery(L"dword:00000001")} + kNotWindows2000Values +
                   Absent(kServerValues) + kWorkstationValues + ProgramKeyChoices(second) +
                   kRestoreFlagSet + AsCopies(With(kKeptValueDefaults, kOriginalsKept)));
    Restore({item::kWindows7, item::kVia, item::kIsdn, item::kMaximumBoost});
    ExpectRegistry(With(kKeptValueDefaults, kOriginalsKept) + kRestoredAlways +
                   kFastConnectionValues + Absent(kNotWindows2000Values) + Absent(kServerValues) +
                   Absent(kWorkstationValues) + ProgramKeyChoices(second) +
                   Absent(AsCopies(kKeptValueDefaults)));
}

// Versions before this one wrote the rows below HKEY_LOCAL_MACHINE\Software
// in the 32-bit view on 64-bit Windows. A restore removes what an optimize
// run of theirs left there, with the program key's flag and copies, along
// with everything else.
TEST_F(RunsEndToEndTest, RestoreRemovesWhatEarlierVersionsLeftInThe32BitView) {
    if (!test::OnWindows64()) {
        GTEST_SKIP() << "32-bit Windows has one registry view";
    }
    Values left;
    for (const test::CatalogueRow& row : test::CatalogueRows()) {
        if (test::ViewOf(row) == test::RowView::Redirected) {
            left.push_back({test::RegExportKey(row.root, row.path), row.name,
                            test::RegExportData(row.optimized)});
        }
    }
    left = In32BitView(left);
    ASSERT_FALSE(left.empty());
    const Values earlierRun =
        left + kRestoreFlagSet + AsCopies(With(kKeptValueDefaults, kOriginalsKept));
    Seed(earlierRun);
    ASSERT_TRUE(Open().Main() != nullptr);
    {
        SCOPED_TRACE("as the earlier version left it");
        ExpectRegistry(earlierRun);
    }
    Restore(kWin7Cable);
    ExpectRegistry(With(kKeptValueDefaults, kOriginalsKept) + kRestoredAlways +
                   Absent(kFastConnectionValues) + Absent(kNotWindows2000Values) +
                   Absent(kServerValues) + Absent(kWorkstationValues) + Absent(left) +
                   Absent(AsCopies(kKeptValueDefaults)));
}

// ---------------------------------------------------------------------------
// Another process of the program closes the windows while a run shows its
// steps, as the update check does: dialogs first, then the main window, each
// with a WM_CLOSE that waits for its answer. The program ends by itself,
// asks nothing, and its registry work is whole.

void CloseAsTheUpdateCheckDoes(DWORD processId) {
    for (const wchar_t* windowClass : {kAboutFormClass, kSettingsFormClass, kMainFormClass}) {
        HWND window = test::WaitForWindow(windowClass, processId, 0);
        ASSERT_NE(window, nullptr);
        DWORD_PTR result = 0;
        EXPECT_NE(SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_NORMAL, 10000, &result), 0)
            << testing::PrintToString(std::wstring(windowClass));
    }
}

void EndsWithoutAsking(LumoraProcess& lumora) {
    bool asked = false;
    for (int i = 0; i < 1000 && !lumora.HasEnded(20); ++i) {
        asked = asked || test::FindMessageBox(lumora.Id()) != nullptr;
    }
    EXPECT_FALSE(asked) << "a question was shown";
    EXPECT_EQ(lumora.WaitForExit(0), 0) << "the program did not end normally";
}

TEST_F(RunsEndToEndTest, ClosedDuringARunTheProgramFinishesItsRegistryWorkAndEnds) {
    Seed(kOriginalsKept);
    {
        SCOPED_TRACE("optimize");
        LumoraProcess& lumora = Open();
        ASSERT_TRUE(lumora.Choose(kWin10CableBoost));
        ASSERT_TRUE(lumora.Press(L"&Optimize now"));
        ASSERT_TRUE(lumora.WaitForProgressStep());
        const int bar = lumora.ProgressBar();
        ASSERT_LT(bar, 90) << "the run was nearly over before the windows were closed";
        CloseAsTheUpdateCheckDoes(lumora.Id());
        EndsWithoutAsking(lumora);
        lumora_.reset();
        ExpectRegistry(KeptValuesOptimized(kFourConnections) + kPlainValues +
                       kFastConnectionValues + Values{PathMtuDiscovery(L"dword:00000001")} +
                       kNotWindows2000Values + Absent(kServerValues) + kWorkstationValues +
                       ProgramKeyChoices(kWin10CableBoost) + kRestoreFlagSet +
                       AsCopies(With(kKeptValueDefaults, kOriginalsKept)));
    }
    {
        SCOPED_TRACE("restore");
        LumoraProcess& lumora = Open();
        ASSERT_TRUE(lumora.Choose(kWin10CableBoost));
        ASSERT_TRUE(lumora.Press(L"&Restore"));
        HWND confirm = lumora.WaitForMessageBox();
        ASSERT_NE(confirm, nullptr);
        ASSERT_TRUE(test::PressMessageBoxButton(confirm, IDOK));
        ASSERT_TRUE(lumora.WaitForProgressStep());
        ASSERT_LT(lumora.ProgressBar(), 90);
        CloseAsTheUpdateCheckDoes(lumora.Id());
        EndsWithoutAsking(lumora);
        lumora_.reset();
        ExpectRegistry(With(kKeptValueDefaults, kOriginalsKept) + kRestoredAlways +
                       Absent(kFastConnectionValues) + Absent(kNotWindows2000Values) +
                       Absent(kWorkstationValues) + ProgramKeyChoices(kWin10CableBoost) +
                       Absent(AsCopies(kKeptValueDefaults)));
    }
}

// ---------------------------------------------------------------------------
// Pictures of the four windows for a person to look at: the main window, the
// about box, the progress dialog in the middle of a run and the restart
// question.

// Until the window shows text and what the screen shows of it holds still
// for a moment: a box can be visible a while before its text is painted. The
// paints it still owes are asked for first.
bool WaitUntilPainted(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return test::WaitUntil([window] {
        const int dark = test::DarkPixels(window);
        Sleep(100);
        return dark > 0 && test::DarkPixels(window) == dark;
    });
}

TEST_F(RunsEndToEndTest, Screenshots) {
    LumoraProcess& lumora = Open();
    ASSERT_NE(lumora.Main(), nullptr);
    const std::wstring folder = test::ScreenshotFolder();
    EXPECT_TRUE(WaitUntilPainted(lumora.Main()));
    EXPECT_TRUE(test::SaveScreenshot(lumora.Main(), folder + L"main-window.bmp"));

    HWND about = test::WaitForWindow(kAboutFormClass, lumora.Id(), 0);
    ASSERT_NE(about, nullptr);
    test::ClickControl(test::FindControl(lumora.Main(), L"Static", L"About Lumora"));
    ASSERT_TRUE(test::WaitUntil([about] { return IsWindowVisible(about) != FALSE; }));
    EXPECT_TRUE(WaitUntilPainted(about));
    EXPECT_TRUE(test::SaveScreenshot(about, folder + L"about-box.bmp"));
    PostMessageW(about, WM_CLOSE, 0, 0);
    ASSERT_TRUE(test::WaitUntilGone(about));
    HWND main = lumora.Main();
    ASSERT_TRUE(test::WaitUntil([main] { return IsWindowEnabled(main) != FALSE; }));

    ASSERT_TRUE(lumora.Choose(kWin10CableBoost));
    ASSERT_TRUE(lumora.Press(L"&Optimize now"));
    ASSERT_TRUE(lumora.WaitForProgressStep());
    // Some steps in, and time for the program to paint the last of them.
    test::WaitUntil([&lumora] { return lumora.ProgressBar() >= 20; });
    Sleep(100);
    EXPECT_TRUE(test::SaveScreenshot(lumora.ProgressDialog(), folder + L"progress-dialog.bmp"));
    HWND question = lumora.WaitForMessageBox();
    ASSERT_NE(question, nullptr);
    EXPECT_TRUE(WaitUntilPainted(question));
    EXPECT_TRUE(test::SaveScreenshot(question, folder + L"restart-question.bmp"));
    ASSERT_TRUE(test::PressMessageBoxButton(question, IDNO));
    ASSERT_TRUE(test::WaitUntilGone(question));
}

}  // namespace
}  // namespace lumora
