// What the runs leave in the registry: an optimize run's rows and backup
// copies, and a restore run's write-backs and deletions, for every choice of
// edition, connection and speed. The expectations are the hand-written table
// of tests/support/CatalogueRows, never taken from the catalogue itself.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "common/WideText.h"
#include "registry/CustomRegistry.h"
#include "registry/MemoryRegistry.h"
#include "tests/support/CatalogueRows.h"
#include "tests/support/RawRegistry.h"
#include "tuning/TweakApply.h"
#include "tuning/TweakPlan.h"

namespace lumora {
namespace {

using test::DwordBytes;
using test::RawRegistry;
using test::TextBytes;
using Bytes = std::vector<std::uint8_t>;

constexpr RootKey kHkcu = RootKey::CurrentUser;
constexpr RootKey kHklm = RootKey::LocalMachine;

const wchar_t* const kMetrics = L"\\Control Panel\\Desktop\\WindowMetrics";
const wchar_t* const kInternet =
    L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const wchar_t* const kPriority = L"\\System\\CurrentControlSet\\Control\\PriorityControl";
const wchar_t* const kCrash = L"\\System\\CurrentControlSet\\Control\\CrashControl";
const wchar_t* const kFileSystem = L"\\System\\CurrentControlSet\\Control\\FileSystem";
const wchar_t* const kTcpip = L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const wchar_t* const kLumora = L"\\Software\\OSTREL\\Lumora";

struct Val {
    std::uint32_t type;
    // cppcheck-suppress unusedStructMember
    Bytes data;
};
using Expect = std::optional<Val>;  // nullopt: the value must not exist

Expect Sz(const std::wstring& text) {
    return Val{reg::kSz, TextBytes(text, true)};
}
Expect Dw(std::uint32_t number) {
    return Val{reg::kDword, DwordBytes(number)};
}
const Expect kGone = std::nullopt;
Expect When(bool condition, const Expect& value) {
    return condition ? value : kGone;
}

struct Cell {
    RootKey root;
    const wchar_t* path;
    std::wstring name;
    Expect value;
};

std::string Ascii(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

struct Editions {
    explicit Editions(std::int32_t os)
        : notWindows2000(os != 0),
          server(os == 0 || os == 2 || os == 4 || os == 7),
          workstation(os == 1 || os == 3 || os == 5 || os == 6 || os == 8) {}
    bool notWindows2000;
    bool server;
    bool workstation;
};

bool Fast(std::int32_t connection) {
    return connection != 2 && connection != 7;
}

Expect AsExpect(const test::RowData& data) {
    if (data.type == reg::kSz) {
        return Sz(data.text);
    }
    if (data.type == reg::kDword) {
        return Dw(data.number);
    }
    return Val{data.type, data.bytes};
}

// Every value the catalogue touches, as an optimize run leaves it.
std::vector<Cell> AfterOptimize(std::int32_t os, std::int32_t connection, std::int32_t speed) {
    const Editions is(os);
    const bool fast = Fast(connection);
    std::vector<Cell> cells;
    for (const test::CatalogueRow& row : test::CatalogueRows()) {
        bool written = true;
        switch (row.group) {
            case test::RowGroup::FastConnection:
                written = fast;
                break;
            case test::RowGroup::NotWindows2000:
                written = is.notWindows2000;
                break;
            case test::RowGroup::Server:
                written = is.server;
                break;
            case test::RowGroup::Workstation:
                written = is.workstation;
                break;
            default:
                break;
        }
        cells.push_back({row.root, row.path, row.name,
                         When(written, AsExpect(test::OptimizedData(row, fast, speed)))});
    }
    return cells;
}

// The backed-up values where they live, each with the copy that stands for
// it when it can't be read.
std::vector<Cell> BackupDefaults() {
    std::vector<Cell> cells;
    for (const test::CatalogueRow& row : test::RowsOf(test::RowGroup::Kept)) {
        cells.push_back({row.root, row.path, row.name, AsExpect(*row.copyDefault)});
    }
    return cells;
}

// Values of the backed-up rows that differ from everything a run writes.
std::vector<Cell> OwnValues() {
    std::vector<Cell> cells = BackupDefaults();
    cells[0].value = Sz(L"0");
    for (std::size_t i = 1; i < cells.size(); ++i) {
        cells[i].value = Dw(static_cast<std::uint32_t>(10 + i));
    }
    return cells;
}

// The same cells as copies in the program key.
std::vector<Cell> AsCopies(std::vector<Cell> cells) {
    for (Cell& cell : cells) {
        cell.root = kHklm;
        cell.path = kLumora;
    }
    return cells;
}

class TweakRunTest : public ::testing::Test {
  protected:
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }

    // Removes every value the runs touch, so that each case starts from none
    // (Windows' registry holds values of its own).
    static void Clear() {
        for (const Cell& cell : AfterOptimize(0, 0, 0)) {
            DeleteRegValue(cell.root, cell.path, cell.name, false);
        }
        for (const Cell& cell : BackupDefaults()) {
            DeleteRegValue(kHklm, kLumora, cell.name, false);
        }
        DeleteRegValue(kHklm, kLumora, L"Restore", false);
    }

    void Put(const std::vector<Cell>& cells) {
        for (const Cell& cell : cells) {
            if (cell.value) {
                raw_.Put(cell.root, cell.path, cell.name, cell.value->type, cell.value->data);
            }
        }
    }

    void ExpectCells(const std::vector<Cell>& cells) const {
        for (const Cell& cell : cells) {
            const std::optional<RegValue> got = raw_.Get(cell.root, cell.path, cell.name);
            if (!cell.value) {
                EXPECT_FALSE(got.has_value()) << Ascii(cell.name) << " should not exist";
            } else if (!got) {
                ADD_FAILURE() << Ascii(cell.name) << " is missing";
            } else {
                EXPECT_EQ(got->type, cell.value->type) << Ascii(cell.name);
                EXPECT_EQ(got->data, cell.value->data) << Ascii(cell.name);
            }
        }
    }

    // In the in-memory registry: the keys of these cells hold no other
    // values than those the cells expect.
    void ExpectNothingElse(const std::vector<Cell>& cells) {
        MemoryRegistry* memory = raw_.Memory();
        if (memory == nullptr) {
            return;
        }
        std::map<std::pair<RootKey, std::wstring>, std::set<std::wstring>> expected;
        for (const Cell& cell : cells) {
            const auto key = std::make_pair(cell.root, AsciiLower(cell.path));
            expected.emplace(key, std::set<std::wstring>{});  // may have to hold none
            if (cell.value) {
                expected[key].insert(AsciiLower(cell.name));
            }
        }
        for (const auto& [key, names] : expected) {
            std::set<std::wstring> found;
            for (const RegValue& value : memory->Values(key.first, key.second)) {
                found.insert(AsciiLower(value.name));
            }
            EXPECT_EQ(found, names) << Ascii(key.second);
        }
    }

    RawRegistry raw_;
};

using Indexes = std::vector<std::int32_t>;

// Every edition, connection and speed setting, and some that don't exist, in
// the in-memory registry. Windows' registry is slow under Wine; there the
// choices are one of each kind of edition and connection.
struct Choices {
    Indexes osIndexes;
    Indexes connections;
    Indexes speeds;
};

Choices ChoicesFor(RawRegistry& raw) {
    if (raw.Memory() != nullptr) {
        return {{-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 42},
                {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 12},
                {-1, 0, 1, 5}};
    }
    return {{-1, 0, 2, 5}, {0, 7}, {0, 1}};
}

TEST_F(TweakRunTest, OptimizeWritesTheRowsOfEveryChoice) {
    const Choices choices = ChoicesFor(raw_);
    for (const std::int32_t os : choices.osIndexes) {
        for (const std::int32_t connection : choices.connections) {
            for (const std::int32_t speed : choices.speeds) {
                SCOPED_TRACE(::testing::Message() << "OS index " << os << ", connection "
                                                  << connection << ", speed " << speed);
                Clear();
                ApplyOptimizePlan(PlanOptimize(
                    {.osIndex = os, .connectionType = connection, .speedSetting = speed},
                    BackupCopies::Kept));
                const std::vector<Cell> expected = AfterOptimize(os, connection, speed);
                ExpectCells(expected);
                ExpectNothingElse(expected);
                if (HasFailure()) {
                    return;
                }
            }
        }
    }
}

TEST_F(TweakRunTest, FirstRunCopiesTheValuesFoundBeforeWriting) {
    Put(OwnValues());
    ApplyOptimizePlan(PlanOptimize({.osIndex = 5, .connectionType = 0, .speedSetting = 1}));
    ExpectCells(AsCopies(OwnValues()));
    ExpectCells(AfterOptimize(5, 0, 1));
}

TEST_F(TweakRunTest, ValuesThatCannotBeReadAreCopiedAsTheirDefaults) {
    // Some values are missing, the others are there in a shape their row
    // can't read.
    raw_.Put(kHkcu, kMetrics, L"MinAnimate", reg::kSz, TextBytes(L"", true));
    raw_.Put(kHklm, kPriority, L"Win32PrioritySeparation", reg::kSz, TextBytes(L"38", true));
    raw_.Put(kHklm, kFileSystem, L"NtfsMftZoneReservation", reg::kBinary, DwordBytes(3));
    raw_.Put(kHklm, kCrash, L"AutoReboot", 11 /* REG_QWORD */, Bytes(8, 0));
    raw_.Put(kHklm, kTcpip, L"KeepAliveTime", reg::kDword, Bytes{1, 2});
    raw_.Put(kHkcu, kInternet, L"MaxConnectionsPerServer", reg::kSz, TextBytes(L"6", true));
    ApplyOptimizePlan(PlanOptimize({.osIndex = 5, .connectionType = 0, .speedSetting = 0}));
    ExpectCells(AsCopies(BackupDefaults()));

    Clear();
    raw_.Put(kHkcu, kMetrics, L"MinAnimate", reg::kDword, DwordBytes(0));
    ApplyOptimizePlan(PlanOptimize({.osIndex = 5, .connectionType = 0, .speedSetting = 0}));
    ExpectCells(AsCopies(BackupDefaults()));
}

TEST_F(TweakRunTest, LaterRunsLeaveTheCopiesAlone) {
    Put(OwnValues());
    ApplyOptimizePlan(PlanOptimize({.osIndex = 1, .connectionType = 2, .speedSetting = 0}));
    // Changed by hand in between.
    raw_.Put(kHkcu, kMetrics, L"MinAnimate", reg::kSz, TextBytes(L"7", true));
    raw_.Put(kHklm, kPriority, L"Win32PrioritySeparation", reg::kDword, DwordBytes(99));
    ApplyOptimizePlan(
        PlanOptimize({.osIndex = 1, .connectionType = 0, .speedSetting = 1}, BackupCopies::Kept));
    ExpectCells(AsCopies(OwnValues()));
    ExpectCells(AfterOptimize(1, 0, 1));
}

// Every value the catalogue touches as a restore run leaves it, when each
// held a value of its own (kept) and the copies were OwnValues().
std::vector<Cell> AfterRestore(std::int32_t os, std::int32_t connection, const Expect& kept) {
    const Editions is(os);
    const bool fast = Fast(connection);
    std::vector<Cell> cells = OwnValues();
    for (const Cell& cell : AfterOptimize(os, connection, 0)) {
        bool backedUp = false;
        for (const Cell& copy : OwnValues()) {
            backedUp = backedUp || (std::wstring(copy.path) == cell.path && copy.name == cell.name);
        }
        if (!backedUp) {
            cells.push_back({cell.root, cell.path, cell.name, kGone});
        }
    }
    // Rows whose condition does not hold at the restore keep their values.
    const std::map<std::wstring, bool> deleted = {
        {L"EnablePrefetcher", is.notWindows2000},
        {L"ThumbnailSize", is.notWindows2000},
        {L"ThumbnailQuality", is.notWindows2000},
        {L"DefaultTTL", fast},
        {L"EnablePMTUBHDetect", fast},
        {L"SackOpts", fast},
        {L"Tcp1323Opts", fast},
        {L"GlobalMaxTcpWindowSize", fast},
        {L"TcpWindowSize", fast},
        {L"TcpMaxDupAcks", fast},
        {L"NonBestEffortLimit", fast},
        {L"MaxOutstandingSends", fast},
        {L"AutoChkTimeOut", is.server},
        {L"Enable", is.workstation},
        {L"HackFlags", is.workstation},
    };
    for (Cell& cell : cells) {
        const auto it = deleted.find(cell.name);
        if (it != deleted.end() && !it->second) {
            cell.value = kept;
        }
    }
    return cells;
}

TEST_F(TweakRunTest, RestoreWritesBackTheCopiesAndDeletesTheRestForEveryChoice) {
    const Expect kept = Dw(0xBAD);
    const Choices choices = ChoicesFor(raw_);
    for (const std::int32_t os : choices.osIndexes) {
        for (const std::int32_t connection : choices.connections) {
            SCOPED_TRACE(::testing::Message()
                         << "OS index " << os << ", connection " << connection);
            Clear();
            std::vector<Cell> before = AfterOptimize(0, 0, 0);
            for (Cell& cell : before) {
                cell.value = kept;
            }
            Put(before);
            Put(AsCopies(OwnValues()));

            ApplyRestorePlan(PlanRestore(os, connection));

            ExpectCells(AfterRestore(os, connection, kept));
            for (Cell copy : AsCopies(OwnValues())) {
                copy.value = kGone;
                ExpectCells({copy});
            }
            if (HasFailure()) {
                return;
            }
        }
    }
}

TEST_F(TweakRunTest, OptimizeThenRestoreGivesBackOnlyTheBackedUpValues) {
    std::vector<Cell> before = OwnValues();
    before[3].value = kGone;  // Win32PrioritySeparation did not exist
    before.push_back({kHklm, kTcpip, L"SynAttackProtect", Dw(1)});  // a row without backup
    Put(before);
    ApplyOptimizePlan(PlanOptimize({.osIndex = 5, .connectionType = 0, .speedSetting = 1}));
    ApplyRestorePlan(PlanRestore(5, 0));

    std::vector<Cell> after = before;
    after[3].value = Dw(2);
    after.back().value = kGone;
    ExpectCells(after);
    ExpectNothingElse(AfterRestore(5, 0, kGone));
}

TEST_F(TweakRunTest, RestoreWithoutCopiesWritesTheDefaults) {
    ApplyRestorePlan(PlanRestore(8, 0));
    ExpectCells(BackupDefaults());
}

// ---------------------------------------------------------------------------
// Registry views. The in-memory registry keeps the native view apart from
// the program's own for every key, so these cases see the view each write
// and delete asked for, in either build.

const RegistryView kProgramView = RegistryView::Program;
const RegistryView kNativeView = RegistryView::Native;

RegistryView Other(RegistryView view) {
    return view == kNativeView ? kProgramView : kNativeView;
}

// The view the runs reach a cell in: on 64-bit Windows the native one for
// the rows below HKEY_LOCAL_MACHINE\Software, else the program's own.
RegistryView ViewOf(const Cell& cell, WindowsWidth width) {
    for (const test::CatalogueRow& row : test::CatalogueRows()) {
        if (row.root == cell.root && EqualNoCase(row.path, cell.path) && row.name == cell.name) {
            return width == WindowsWidth::Bits64 && test::ViewOf(row) != test::RowView::OneKey
                       ? kNativeView
                       : kProgramView;
        }
    }
    return kProgramView;  // the program key
}

struct WidthCase {
    const char* what;
    WindowsWidth width;
};
const WidthCase kWidths[] = {{"32-bit Windows", WindowsWidth::Bits32},
                             {"64-bit Windows", WindowsWidth::Bits64}};

// A fresh in-memory registry in place for the life of one case.
struct ViewedRegistry {
    void Put(const std::vector<Cell>& cells, RegistryView view) {
        for (const Cell& cell : cells) {
            if (cell.value) {
                memory.Put(cell.root, cell.path, {cell.name, cell.value->type, cell.value->data},
                           view);
            }
        }
    }
    void ExpectIn(RegistryView view, const Cell& cell) const {
        const std::string where =
            Ascii(cell.name) + (view == kNativeView ? " in the native view" : " in the program's");
        const std::optional<RegValue> got = memory.Get(cell.root, cell.path, cell.name, view);
        if (!cell.value) {
            EXPECT_FALSE(got.has_value()) << where << " should not exist";
        } else if (!got) {
            ADD_FAILURE() << where << " is missing";
        } else {
            EXPECT_EQ(got->type, cell.value->type) << where;
            EXPECT_EQ(got->data, cell.value->data) << where;
        }
    }

    // On 32-bit Windows, Windows 2000 among them, every call opens its key as
    // the program key is opened: none asks for the native view.
    void ExpectNoViewAskedFor(WindowsWidth width) const {
        if (width == WindowsWidth::Bits32) {
            for (const std::uint32_t access : memory.AccessLog()) {
                EXPECT_EQ(access & (reg::kKeyWow64_64Key | reg::kKeyWow64_32Key),
                          reg::AccessFor(0, false))
                    << "access 0x" << std::hex << access;
            }
        }
    }

    MemoryRegistry memory;
    ScopedRegistry scope{memory};
};

// Each written value is in its own view and the other view holds none of
// them; the program key, its copies and its flag are the program's own.
TEST(TweakViewTest, OptimizeWritesEachRowInTheViewOfItsKey) {
    for (const WidthCase& c : kWidths) {
        SCOPED_TRACE(c.what);
        ViewedRegistry registry;
        // Windows 7, Cable: every row below HKEY_LOCAL_MACHINE\Software is
        // written.
        ApplyOptimizePlan(StartOptimize(
            {.osIndex = 5, .connectionType = 0, .speedSetting = 0, .windowsWidth = c.width}));
        for (const Cell& cell : AfterOptimize(5, 0, 0)) {
            const RegistryView view = ViewOf(cell, c.width);
            registry.ExpectIn(view, cell);
            registry.ExpectIn(Other(view), {cell.root, cell.path, cell.name, kGone});
        }
        for (const Cell& copy : AsCopies(BackupDefaults())) {
            registry.ExpectIn(kProgramView, copy);
        }
        registry.ExpectIn(kProgramView, {kHklm, kLumora, L"Restore", Dw(1)});
        EXPECT_FALSE(registry.memory.KeyExists(kHklm, kLumora, kNativeView));
        registry.ExpectNoViewAskedFor(c.width);
    }
}

// Every value is there in both views before the restore: the native view's
// as this version writes it on 64-bit Windows, the program's own as earlier
// versions did. The restore deletes each row it handles from the view of its
// key and, where that is the native view, from the program's own as well;
// every other value stays.
TEST(TweakViewTest, RestoreDeletesEachRowFromItsViewAndWhatEarlierVersionsLeft) {
    const Expect kept = Dw(0xBAD);
    const struct {
        std::int32_t os;
        std::int32_t connection;
    } choices[] = {{5, 0}, {0, 2}};  // every row below Software, and some of them
    for (const WidthCase& c : kWidths) {
        for (const auto& choice : choices) {
            SCOPED_TRACE(::testing::Message() << c.what << ", OS index " << choice.os
                                              << ", connection " << choice.connection);
            ViewedRegistry registry;
            std::vector<Cell> before = AfterOptimize(0, 0, 0);
            for (Cell& cell : before) {
                cell.value = kept;
            }
            registry.Put(before, kProgramView);
            registry.Put(before, kNativeView);
            registry.Put(AsCopies(OwnValues()), kProgramView);

            ApplyRestorePlan(PlanRestore(choice.os, choice.connection, c.width));

            for (const Cell& cell : AfterRestore(choice.os, choice.connection, kept)) {
                registry.ExpectIn(kProgramView, cell);
                const bool native = ViewOf(cell, c.width) == kNativeView;
                registry.ExpectIn(kNativeView,
                                  native ? cell : Cell{cell.root, cell.path, cell.name, kept});
            }
            for (Cell copy : AsCopies(OwnValues())) {
                copy.value = kGone;
                registry.ExpectIn(kProgramView, copy);
            }
            registry.ExpectNoViewAskedFor(c.width);
            if (HasFailure()) {
                return;
            }
        }
    }
}

}  // namespace
}  // namespace lumora
