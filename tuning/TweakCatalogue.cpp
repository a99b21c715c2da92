#include "tuning/TweakCatalogue.h"

#include <cstddef>

#include "tuning/ConnectionTypes.h"
#include "tuning/WindowsEditions.h"

namespace lumora {

namespace {

constexpr RootKey kHkcu = RootKey::CurrentUser;
constexpr RootKey kHklm = RootKey::LocalMachine;

constexpr wchar_t LowerAscii(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// HKEY_LOCAL_MACHINE\Software and every key below it, in any letter case,
// with or without the leading backslash.
constexpr bool BelowMachineSoftware(const TweakKey& key) {
    if (key.root != kHklm) {
        return false;
    }
    constexpr wchar_t kSoftware[] = L"software";
    const wchar_t* path = key.path[0] == L'\\' ? key.path + 1 : key.path;
    std::size_t at = 0;
    for (; kSoftware[at] != L'\0'; ++at) {
        if (LowerAscii(path[at]) != kSoftware[at]) {
            return false;  // also at the path's end
        }
    }
    return path[at] == L'\0' || path[at] == L'\\';
}

// The keys. K12 and K16 differ only by the trailing backslash and are one key
// to the registry: rows 22/37 and 24/30 write the same values, the later
// write standing.
constexpr TweakKey K1{kHkcu, L"\\Control Panel\\Desktop\\WindowMetrics\\"};
constexpr TweakKey K2{
    kHklm, L"\\System\\CurrentControlSet\\Control\\Session Manager\\Memory Management\\"};
constexpr TweakKey K3{kHklm, L"\\System\\CurrentControlSet\\Control\\PriorityControl\\"};
constexpr TweakKey K4{kHklm, L"\\System\\CurrentControlSet\\Control\\CrashControl\\"};
constexpr TweakKey K5{kHklm, L"\\System\\CurrentControlSet\\Control\\FileSystem\\"};
constexpr TweakKey K6{kHkcu, L"\\Control Panel\\Desktop\\"};
constexpr TweakKey K7{kHkcu, L"\\Software\\Microsoft\\Internet Explorer\\Main\\"};
constexpr TweakKey K8{kHkcu,
                      L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\AutoComplete\\"};
constexpr TweakKey K9{kHklm,
                      L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\"};
constexpr TweakKey K10{kHklm, L"\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows\\"};
constexpr TweakKey K11{kHklm, L"\\System\\CurrentControlSet\\Services\\Messenger\\"};
constexpr TweakKey K12{kHklm, L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters\\"};
constexpr TweakKey K13{kHklm, L"\\System\\CurrentControlSet\\Services\\Netbt\\Parameters\\"};
constexpr TweakKey K14{kHklm,
                       L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\"};
constexpr TweakKey K15{kHkcu, L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings"};
constexpr TweakKey K16{kHklm, L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters"};
constexpr TweakKey K17{kHklm, L"\\System\\CurrentControlSet\\Control\\Session Manager\\"};
constexpr TweakKey K18{kHklm, L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"};
constexpr TweakKey K19{kHklm, L"\\Software\\Policies\\Microsoft\\Windows\\Psched"};
constexpr TweakKey K20{kHklm, L"\\Software\\Microsoft\\Dfrg\\BootOptimizeFunction\\"};
constexpr TweakKey K21{kHklm, L"\\System\\CurrentControlSet\\Services\\P3\\Parameters\\"};

// What an optimize run writes: REG_SZ text, REG_DWORD (the same or by speed
// setting), REG_BINARY zeros.
constexpr TweakValue Sz(const wchar_t* text) {
    return {TweakType::String, text, 0, 0, 0};
}
constexpr TweakValue Dword(std::int32_t number) {
    return {TweakType::Dword, nullptr, number, number, 0};
}
constexpr TweakValue DwordBySpeed(std::int32_t boost, std::int32_t maximumBoost) {
    return {TweakType::Dword, nullptr, boost, maximumBoost, 0};
}
constexpr TweakValue ZeroBytes(std::size_t count) {
    return {TweakType::Binary, nullptr, 0, 0, count};
}

// Rows whose previous value is kept, with its default.
constexpr TweakBackup KeepSz(const wchar_t* text) {
    return {true, text, 0};
}
constexpr TweakBackup Keep(std::int32_t number) {
    return {true, nullptr, number};
}
constexpr TweakBackup kNoBackup{false, nullptr, 0};

constexpr TweakCondition kAlways = TweakCondition::Always;
constexpr TweakCondition kNotW2k = TweakCondition::NotWindows2000;
constexpr TweakCondition kFast = TweakCondition::FastConnection;
constexpr TweakCondition kServer = TweakCondition::ServerEdition;
constexpr TweakCondition kWorkstation = TweakCondition::WorkstationEdition;

// Row, key, value name, value written, condition, backup.
// clang-format off
constexpr TweakCatalogue kTweaks{{
    /*  1 */ {K1,  L"MinAnimate",                  Sz(L"1"),           kAlways,      KeepSz(L"1")},
    /*  2 */ {K2,  L"DisablePagingExecutive",      Dword(0),           kAlways,      Keep(0)},
    /*  3 */ {K2,  L"LargeSystemCache",            Dword(0),           kAlways,      Keep(0)},
    /*  4 */ {K3,  L"Win32PrioritySeparation",     Dword(1),           kAlways,      Keep(2)},
    /*  5 */ {K4,  L"AutoReboot",                  Dword(1),           kAlways,      Keep(1)},
    /*  6 */ {K5,  L"NtfsDisableLastAccessupdate", Dword(1),           kAlways,      Keep(1)},
    /*  7 */ {K5,  L"NtfsMftZoneReservation",      Dword(2),           kAlways,      Keep(0)},
    /*  8 */ {K6,  L"SmoothScroll",                ZeroBytes(4),       kAlways,      kNoBackup},
    /*  9 */ {K7,  L"Use StyleSheets",             Sz(L"Yes"),         kAlways,      kNoBackup},
    /* 10 */ {K8,  L"Append Completion",           Sz(L"Yes"),         kAlways,      kNoBackup},
    /* 11 */ {K5,  L"ContigFileAllocSize",         Dword(0x600),       kAlways,      kNoBackup},
    /* 12 */ {K9,  L"LinkResolveIgnoreLinkInfo",   Dword(0),           kAlways,      kNoBackup},
    /* 13 */ {K9,  L"NoResolveSearch",             Dword(1),           kAlways,      kNoBackup},
    /* 14 */ {K2,  L"IoPageLockLimit",             Dword(0x1000),      kAlways,      kNoBackup},
    /* 15 */ {K4,  L"SendAlert",                   Dword(1),           kAlways,      kNoBackup},
    /* 16 */ {K10, L"NoPopUpsOnBoot",              Dword(1),           kAlways,      kNoBackup},
    /* 17 */ {K10, L"Error Mode",                  Dword(1),           kAlways,      kNoBackup},
    /* 18 */ {K11, L"Start",                       Dword(4),           kAlways,      kNoBackup},
    /* 19 */ {K12, L"SynAttackProtect",            Dword(2),           kAlways,      kNoBackup},
    /* 20 */ {K12, L"TcpMaxHalfOpen",              Dword(100),         kAlways,      kNoBackup},
    /* 21 */ {K12, L"TcpMaxHalfOpenRetried",       Dword(50),          kAlways,      kNoBackup},
    /* 22 */ {K12, L"EnablePMTUDiscovery",         Dword(0),           kAlways,      kNoBackup},
    /* 23 */ {K12, L"EnableDeadGWDetect",          Dword(0),           kAlways,      kNoBackup},
    /* 24 */ {K12, L"KeepAliveTime",               Dword(300000),      kAlways,      kNoBackup},
    /* 25 */ {K12, L"EnableICMPRedirects",         Dword(0),           kAlways,      kNoBackup},
    /* 26 */ {K13, L"NoNameReleaseOnDemand",       Dword(1),           kAlways,      kNoBackup},
    /* 27 */ {K14, L"PerformRouterDiscovery",      Dword(0),           kAlways,      kNoBackup},
    /* 28 */ {K15, L"MaxConnectionsPerServer",     DwordBySpeed(4, 8), kAlways,      Keep(2)},
    /* 29 */ {K15, L"MaxConnectionsPer1_0Server",  DwordBySpeed(4, 8), kAlways,      Keep(2)},
    /* 30 */ {K16, L"KeepAliveTime",               Dword(7200000),     kAlways,      Keep(7200000)},
    /* 31 */ {K16, L"KeepAliveInterval",           Dword(1000),        kAlways,      Keep(1000)},
    /* 32 */ {K17, L"EnablePrefetcher",            Dword(1),           kNotW2k,      kNoBackup},
    /* 33 */ {K18, L"ThumbnailSize",               Dword(96),          kNotW2k,      kNoBackup},
    /* 34 */ {K18, L"ThumbnailQuality",            Dword(80),          kNotW2k,      kNoBackup},
    /* 35 */ {K16, L"DefaultTTL",                  Dword(64),          kFast,        kNoBackup},
    /* 36 */ {K16, L"EnablePMTUBHDetect",          Dword(0),           kFast,        kNoBackup},
    /* 37 */ {K16, L"EnablePMTUDiscovery",         Dword(1),           kFast,        kNoBackup},
    /* 38 */ {K16, L"SackOpts",                    Dword(1),           kFast,        kNoBackup},
    /* 39 */ {K16, L"Tcp1323Opts",                 Dword(3),           kFast,        kNoBackup},
    /* 40 */ {K16, L"GlobalMaxTcpWindowSize",      Dword(256960),      kFast,        kNoBackup},
    /* 41 */ {K16, L"TcpWindowSize",               Dword(256960),      kFast,        kNoBackup},
    /* 42 */ {K16, L"TcpMaxDupAcks",               Dword(2),           kFast,        kNoBackup},
    /* 43 */ {K19, L"NonBestEffortLimit",          Dword(50),          kFast,        kNoBackup},
    /* 44 */ {K19, L"MaxOutstandingSends",         Dword(0xFFFF),      kFast,        kNoBackup},
    /* 45 */ {K17, L"AutoChkTimeOut",              Dword(0),           kServer,      kNoBackup},
    /* 46 */ {K20, L"Enable",                      Sz(L"Y"),           kWorkstation, kNoBackup},
    /* 47 */ {K21, L"HackFlags",                   Dword(1),           kWorkstation, kNoBackup},
}};
// clang-format on

// A copy is taken and given back in the program's own view only: a kept row
// below HKEY_LOCAL_MACHINE\Software would have a place in each view on 64-bit
// Windows.
constexpr bool NoKeptRowBelowMachineSoftware() {
    // std::any_of is not constexpr before C++20.
    for (const TweakRow& row : kTweaks) {
        // cppcheck-suppress useStlAlgorithm
        if (row.backup.kept && BelowMachineSoftware(row.key)) {
            return false;
        }
    }
    return true;
}
static_assert(NoKeptRowBelowMachineSoftware(), "a kept row below HKEY_LOCAL_MACHINE\\Software");

}  // namespace

RegistryView TweakView(const TweakKey& key, WindowsWidth width) {
    return width == WindowsWidth::Bits64 && BelowMachineSoftware(key) ? RegistryView::Native
                                                                      : RegistryView::Program;
}

const TweakCatalogue& Tweaks() {
    return kTweaks;
}

bool IsMaximumBoost(std::int32_t speedSetting) {
    return speedSetting > 0;
}

bool ConditionHolds(TweakCondition condition, std::int32_t osIndex, std::int32_t connectionType) {
    switch (condition) {
        case TweakCondition::Always:
            return true;
        case TweakCondition::NotWindows2000:
            return osIndex != os_index::kWindows2000;
        case TweakCondition::FastConnection:
            return IsFastConnection(connectionType);
        case TweakCondition::ServerEdition:
            return IsServerEdition(osIndex);
        case TweakCondition::WorkstationEdition:
            return IsWorkstationEdition(osIndex);
    }
    return false;
}

}  // namespace lumora
