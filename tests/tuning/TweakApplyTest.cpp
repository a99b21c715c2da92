// The optimize and restore runs' registry work (tuning/TweakApply) over the
// in-memory registry (or Wine's registry in the Windows build): the order of
// the copies, the Restore flag and the tuned values, and what a run ended
// after any of its registry changes leaves for the next.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/WideText.h"
#include "registry/CustomRegistry.h"
#include "registry/MemoryRegistry.h"
#include "registry/ProgramKey.h"
#include "tests/support/RawRegistry.h"
#include "tuning/TweakApply.h"
#include "tuning/TweakPlan.h"
#include "tuning/WindowsEditions.h"

namespace lumora {
namespace {

namespace pk = program_key;
using test::DwordBytes;
using test::TextBytes;

const std::wstring kDesktop = L"\\Control Panel\\Desktop\\WindowMetrics\\";
const std::wstring kMemory =
    L"\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management\\";
const std::wstring kPriority = L"\\SYSTEM\\CurrentControlSet\\Control\\PriorityControl\\";

// Logs the writes and deletions made through it, by value name; those in
// the program key are marked "copy".
class RecordingRegistry : public MemoryRegistry {
  public:
    long OpenKey(RootKey root, const std::wstring& subKey, std::uint32_t access,
                 RegKeyHandle& key) override {
        const long rc = MemoryRegistry::OpenKey(root, subKey, access, key);
        if (rc == reg::kSuccess) {
            keys_[key] = subKey;
        }
        return rc;
    }
    long CreateKey(RootKey root, const std::wstring& subKey, std::uint32_t access,
                   RegKeyHandle& key) override {
        const long rc = MemoryRegistry::CreateKey(root, subKey, access, key);
        if (rc == reg::kSuccess) {
            keys_[key] = subKey;
        }
        return rc;
    }
    long SetValue(RegKeyHandle key, const std::wstring& name, std::uint32_t type,
                  const std::uint8_t* data, std::uint32_t size) override {
        log.push_back(L"write " + Where(key) + name);
        return MemoryRegistry::SetValue(key, name, type, data, size);
    }
    long DeleteValue(RegKeyHandle key, const std::wstring& name) override {
        log.push_back(L"delete " + Where(key) + name);
        return MemoryRegistry::DeleteValue(key, name);
    }

    std::vector<std::wstring> log;

  private:
    std::wstring Where(RegKeyHandle key) {
        return EqualNoCase(keys_[key], L"Software\\OSTREL\\Lumora\\") ? L"copy " : L"";
    }
    std::map<RegKeyHandle, std::wstring> keys_;
};

TEST(TweakRunOrderTest, OptimizeCopiesBeforeTheFlagAndRestoreDeletesTheCopiesLast) {
    RecordingRegistry registry;
    ScopedRegistry scope(registry);

    ApplyOptimizePlan(PlanOptimize({.osIndex = 2, .connectionType = 0, .speedSetting = 0}));
    const std::vector<std::wstring> copies = {
        L"write copy MinAnimate",
        L"write copy DisablePagingExecutive",
        L"write copy LargeSystemCache",
        L"write copy Win32PrioritySeparation",
        L"write copy AutoReboot",
        L"write copy NtfsDisableLastAccessupdate",
        L"write copy NtfsMftZoneReservation",
        L"write copy MaxConnectionsPerServer",
        L"write copy MaxConnectionsPer1_0Server",
        L"write copy KeepAliveTime",
        L"write copy KeepAliveInterval",
        L"write copy Restore",
        L"write MinAnimate",
    };
    ASSERT_GE(registry.log.size(), copies.size());
    EXPECT_EQ(std::vector<std::wstring>(registry.log.begin(), registry.log.begin() + 13), copies);

    registry.log.clear();
    ApplyRestorePlan(PlanRestore(2, 0));
    const std::vector<std::wstring> restore = {
        L"write MinAnimate",
        L"write DisablePagingExecutive",
        L"write LargeSystemCache",
        L"write Win32PrioritySeparation",
        L"write AutoReboot",
        L"write NtfsDisableLastAccessupdate",
        L"write NtfsMftZoneReservation",
        L"delete SmoothScroll",
        L"delete Use StyleSheets",
        L"delete Append Completion",
        L"delete ContigFileAllocSize",
        L"delete LinkResolveIgnoreLinkInfo",
        L"delete NoResolveSearch",
        L"delete IoPageLockLimit",
        L"delete SendAlert",
        L"delete NoPopUpsOnBoot",
        L"delete Error Mode",
        L"delete Start",
        L"delete SynAttackProtect",
        L"delete TcpMaxHalfOpen",
        L"delete TcpMaxHalfOpenRetried",
        L"delete EnablePMTUDiscovery",
        L"delete EnableDeadGWDetect",
        L"delete KeepAliveTime",
        L"delete EnableICMPRedirects",
        L"delete NoNameReleaseOnDemand",
        L"delete PerformRouterDiscovery",
        L"write MaxConnectionsPerServer",
        L"write MaxConnectionsPer1_0Server",
        L"write KeepAliveTime",
        L"write KeepAliveInterval",
        L"delete DefaultTTL",
        L"delete EnablePMTUBHDetect",
        L"delete EnablePMTUDiscovery",
        L"delete SackOpts",
        L"delete Tcp1323Opts",
        L"delete GlobalMaxTcpWindowSize",
        L"delete TcpWindowSize",
        L"delete TcpMaxDupAcks",
        L"delete NonBestEffortLimit",
        L"delete MaxOutstandingSends",
        L"delete EnablePrefetcher",
        L"delete ThumbnailSize",
        L"delete ThumbnailQuality",
        L"delete AutoChkTimeOut",
        L"delete copy Restore",
        L"delete copy MinAnimate",
        L"delete copy DisablePagingExecutive",
        L"delete copy LargeSystemCache",
        L"delete copy Win32PrioritySeparation",
        L"delete copy AutoReboot",
        L"delete copy NtfsDisableLastAccessupdate",
        L"delete copy NtfsMftZoneReservation",
        L"delete copy MaxConnectionsPerServer",
        L"delete copy MaxConnectionsPer1_0Server",
        L"delete copy KeepAliveTime",
        L"delete copy KeepAliveInterval",
    };
    EXPECT_EQ(registry.log, restore);
}

// The in-memory registry as a process sees it that is ended after its first
// |limit| registry operations that change something: every later write or
// delete is refused. A stop after a read leaves the registry as a stop after
// the change before it, so only the changes are counted; each operation of
// the access layer opens one key, for writing when it changes something.
class StoppingRegistry : public RegistryBackend {
  public:
    static constexpr std::size_t kNever = std::numeric_limits<std::size_t>::max();

    void StopAfter(std::size_t limit) {
        limit_ = limit;
        changes_ = 0;
        refused_ = false;
    }
    bool Stopped() const { return refused_; }

    long OpenKey(RootKey root, const std::wstring& subKey, std::uint32_t access,
                 RegKeyHandle& key) override {
        if ((access & kSetValue) != 0 && !Admit()) {
            return reg::kAccessDenied;
        }
        return memory.OpenKey(root, subKey, access, key);
    }
    long CreateKey(RootKey root, const std::wstring& subKey, std::uint32_t access,
                   RegKeyHandle& key) override {
        return Admit() ? memory.CreateKey(root, subKey, access, key) : reg::kAccessDenied;
    }
    long QueryValue(RegKeyHandle key, const std::wstring& name, std::uint32_t* type,
                    std::uint8_t* data, std::uint32_t* size) override {
        return memory.QueryValue(key, name, type, data, size);
    }
    long SetValue(RegKeyHandle key, const std::wstring& name, std::uint32_t type,
                  const std::uint8_t* data, std::uint32_t size) override {
        return memory.SetValue(key, name, type, data, size);
    }
    long DeleteValue(RegKeyHandle key, const std::wstring& name) override {
        return memory.DeleteValue(key, name);
    }
    long CloseKey(RegKeyHandle key) override { return memory.CloseKey(key); }

    MemoryRegistry memory;

  private:
    static constexpr std::uint32_t kSetValue = 0x0002;  // KEY_SET_VALUE

    bool Admit() {
        if (changes_ >= limit_) {
            refused_ = true;
            return false;
        }
        ++changes_;
        return true;
    }
    std::size_t limit_ = kNever;
    std::size_t changes_ = 0;
    bool refused_ = false;
};

struct Value {
    std::uint32_t type;
    std::vector<std::uint8_t> data;
};
using Held = std::optional<Value>;  // nullopt: the value does not exist

Value Sz(const std::wstring& text) {
    return {reg::kSz, TextBytes(text, true)};
}
Value Dw(std::uint32_t number) {
    return {reg::kDword, DwordBytes(number)};
}

const std::wstring kInternet = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const std::wstring kTcpip = L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters";

struct Place {
    RootKey root;
    const std::wstring* path;
    const wchar_t* name;
};
const std::wstring kCrash = L"\\System\\CurrentControlSet\\Control\\CrashControl";
const std::wstring kFileSystem = L"\\System\\CurrentControlSet\\Control\\FileSystem";

// The 11 values the optimize run backs up.
const std::array<Place, 11> kBackedUp = {{
    {RootKey::CurrentUser, &kDesktop, L"MinAnimate"},
    {RootKey::LocalMachine, &kMemory, L"DisablePagingExecutive"},
    {RootKey::LocalMachine, &kMemory, L"LargeSystemCache"},
    {RootKey::LocalMachine, &kPriority, L"Win32PrioritySeparation"},
    {RootKey::LocalMachine, &kCrash, L"AutoReboot"},
    {RootKey::LocalMachine, &kFileSystem, L"NtfsDisableLastAccessupdate"},
    {RootKey::LocalMachine, &kFileSystem, L"NtfsMftZoneReservation"},
    {RootKey::CurrentUser, &kInternet, L"MaxConnectionsPerServer"},
    {RootKey::CurrentUser, &kInternet, L"MaxConnectionsPer1_0Server"},
    {RootKey::LocalMachine, &kTcpip, L"KeepAliveTime"},
    {RootKey::LocalMachine, &kTcpip, L"KeepAliveInterval"},
}};

// The 11 values before the first optimize run, and what an optimize run
// followed by a restore gives back: the value itself, or the backup default
// where it could not be read as its row's type.
struct Start {
    const char* what;
    std::array<Held, 11> before;
    std::array<Value, 11> after;
};

const Value kEmptyDword{reg::kDword, {}};
const Value kNoText = Sz(L"");

const Start kStarts[] = {
    {"values of their own",
     {Sz(L"0"), Dw(11), Dw(12), Dw(13), Dw(14), Dw(15), Dw(16), Dw(17), Dw(18), Dw(19), Dw(20)},
     {Sz(L"0"), Dw(11), Dw(12), Dw(13), Dw(14), Dw(15), Dw(16), Dw(17), Dw(18), Dw(19), Dw(20)}},
    {"all missing",
     {},
     {Sz(L"1"), Dw(0), Dw(0), Dw(2), Dw(1), Dw(1), Dw(0), Dw(2), Dw(2), Dw(7200000), Dw(1000)}},
    {"empty, of another type or missing",
     {kNoText, kEmptyDword, Dw(12), Sz(L"38"), Value{11 /* REG_QWORD */, {0, 0, 0, 0, 0, 0, 0, 0}},
      Dw(15), Value{reg::kBinary, DwordBytes(3)}, Sz(L"6"), Dw(18), Value{reg::kDword, {1, 2}},
      std::nullopt},
     {Sz(L"1"), Dw(0), Dw(12), Dw(2), Dw(1), Dw(15), Dw(0), Dw(2), Dw(18), Dw(7200000), Dw(1000)}},
    {"text for numbers, a number for the text",
     {Dw(0), kNoText, kNoText, kNoText, kNoText, kNoText, kNoText, kNoText, kNoText, kNoText,
      kNoText},
     {Sz(L"1"), Dw(0), Dw(0), Dw(2), Dw(1), Dw(1), Dw(0), Dw(2), Dw(2), Dw(7200000), Dw(1000)}},
};

enum class Cut { Optimize, Restore };
enum class Next { Restore, OptimizeThenRestore };

// Plays one case over |registry|: the start, a complete optimize run when the
// restore is the run to be ended, that run ended after |limit| changes, then
// what the user does at the next start: restore, when the flag enables the
// restore button, or optimize and then restore. Gives whether the run was
// ended before its own end, and whether the user could do |next|.
struct Played {
    bool ended;
    bool done;
};

// The choices of every run here: Windows 10, Intel, Cable, Boost.
const TuningChoices kChoices = {.osIndex = ConvertWindowsVersion(0),
                                .connectionType = 0,
                                .speedSetting = 0,
                                .processorType = 0};

// The registry work of the main window's runs, as they do it once the user
// has said OK to the restore question.
void RunOptimize() {
    ApplyOptimizePlan(StartOptimize(kChoices));
}
void RunRestore() {
    RestoreTuning(kChoices);
}

Played Play(StoppingRegistry& registry, const Start& start, Cut cut, Next next, std::size_t limit) {
    for (std::size_t i = 0; i < kBackedUp.size(); ++i) {
        if (start.before[i]) {
            registry.memory.Put(kBackedUp[i].root, *kBackedUp[i].path,
                                {kBackedUp[i].name, start.before[i]->type, start.before[i]->data});
        }
    }
    if (cut == Cut::Restore) {
        RunOptimize();
    }
    registry.StopAfter(limit);
    cut == Cut::Optimize ? RunOptimize() : RunRestore();
    const bool ended = registry.Stopped();
    registry.StopAfter(StoppingRegistry::kNever);

    if (next == Next::OptimizeThenRestore) {
        RunOptimize();
    } else if (!ReadRegBool(pk::kRoot, pk::kPath, pk::kRestore, false, false)) {
        return {ended, false};
    }
    RunRestore();
    return {ended, true};
}

// A run is ended after its N-th change to the registry, for every N up to
// the run's last, and the user goes on as the program lets them. Every
// backed-up value is back each time.
TEST(StoppedRunTest, NoOriginalIsLostWhereverARunIsEnded) {
    for (const Cut cut : {Cut::Optimize, Cut::Restore}) {
        for (const Start& start : kStarts) {
            for (const Next next : {Next::Restore, Next::OptimizeThenRestore}) {
                for (std::size_t limit = 0;; ++limit) {
                    SCOPED_TRACE(::testing::Message()
                                 << (cut == Cut::Optimize ? "optimize" : "restore")
                                 << " ended after " << limit << " changes, start: " << start.what
                                 << ", then "
                                 << (next == Next::Restore ? "restore" : "optimize, restore"));
                    StoppingRegistry registry;
                    ScopedRegistry scope(registry);
                    const Played played = Play(registry, start, cut, next, limit);
                    for (std::size_t i = 0; played.done && i < kBackedUp.size(); ++i) {
                        const Place& place = kBackedUp[i];
                        const auto got = registry.memory.Get(place.root, *place.path, place.name);
                        ASSERT_TRUE(got.has_value()) << place.name << " is missing";
                        EXPECT_EQ(got->type, start.after[i].type) << place.name;
                        EXPECT_EQ(got->data, start.after[i].data) << place.name;
                    }
                    if (HasFailure()) {
                        return;
                    }
                    if (!played.ended) {
                        // The run came to its end: every point was tried.
                        EXPECT_GT(limit, 47u);
                        break;
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace lumora
