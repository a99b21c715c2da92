#include "tests/support/CatalogueRows.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <iterator>

namespace lumora::test {
namespace {

constexpr RootKey kHkcu = RootKey::CurrentUser;
constexpr RootKey kHklm = RootKey::LocalMachine;

const wchar_t* const kMetrics = L"\\Control Panel\\Desktop\\WindowMetrics";
const wchar_t* const kDesktop = L"\\Control Panel\\Desktop";
const wchar_t* const kIeMain = L"\\Software\\Microsoft\\Internet Explorer\\Main";
const wchar_t* const kAutoComplete =
    L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\AutoComplete";
const wchar_t* const kInternet =
    L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const wchar_t* const kSessionManager = L"\\System\\CurrentControlSet\\Control\\Session Manager";
const wchar_t* const kMemory =
    L"\\System\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
const wchar_t* const kPriority = L"\\System\\CurrentControlSet\\Control\\PriorityControl";
const wchar_t* const kCrash = L"\\System\\CurrentControlSet\\Control\\CrashControl";
const wchar_t* const kFileSystem = L"\\System\\CurrentControlSet\\Control\\FileSystem";
const wchar_t* const kPolicies =
    L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const wchar_t* const kNtWindows = L"\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
const wchar_t* const kExplorer = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const wchar_t* const kMessenger = L"\\System\\CurrentControlSet\\Services\\Messenger";
const wchar_t* const kTcpip = L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const wchar_t* const kInterfaces =
    L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
const wchar_t* const kNetbt = L"\\System\\CurrentControlSet\\Services\\Netbt\\Parameters";
const wchar_t* const kPsched = L"\\Software\\Policies\\Microsoft\\Windows\\Psched";
const wchar_t* const kDfrg = L"\\Software\\Microsoft\\Dfrg\\BootOptimizeFunction";
const wchar_t* const kP3 = L"\\System\\CurrentControlSet\\Services\\P3\\Parameters";

RowData Sz(const std::wstring& text) {
    return RowData{reg::kSz, text, 0, {}};
}
RowData Dw(std::uint32_t number) {
    return RowData{reg::kDword, {}, number, {}};
}
RowData Bin(std::vector<std::uint8_t> bytes) {
    return RowData{reg::kBinary, {}, 0, std::move(bytes)};
}

using G = RowGroup;

}  // namespace

const std::vector<CatalogueRow>& CatalogueRows() {
    static const std::vector<CatalogueRow> rows = {
        // Kept: the optimized data, then the copy's default.
        {kHkcu, kMetrics, L"MinAnimate", G::Kept, Sz(L"1"), Sz(L"1")},
        {kHklm, kMemory, L"DisablePagingExecutive", G::Kept, Dw(0), Dw(0)},
        {kHklm, kMemory, L"LargeSystemCache", G::Kept, Dw(0), Dw(0)},
        {kHklm, kPriority, L"Win32PrioritySeparation", G::Kept, Dw(1), Dw(2)},
        {kHklm, kCrash, L"AutoReboot", G::Kept, Dw(1), Dw(1)},
        {kHklm, kFileSystem, L"NtfsDisableLastAccessupdate", G::Kept, Dw(1), Dw(1)},
        {kHklm, kFileSystem, L"NtfsMftZoneReservation", G::Kept, Dw(2), Dw(0)},
        {kHkcu, kInternet, L"MaxConnectionsPerServer", G::Kept, Dw(4), Dw(2)},
        {kHkcu, kInternet, L"MaxConnectionsPer1_0Server", G::Kept, Dw(4), Dw(2)},
        {kHklm, kTcpip, L"KeepAliveTime", G::Kept, Dw(7200000), Dw(7200000)},
        {kHklm, kTcpip, L"KeepAliveInterval", G::Kept, Dw(1000), Dw(1000)},

        {kHkcu, kDesktop, L"SmoothScroll", G::Plain, Bin({0, 0, 0, 0}), {}},
        {kHkcu, kIeMain, L"Use StyleSheets", G::Plain, Sz(L"Yes"), {}},
        {kHkcu, kAutoComplete, L"Append Completion", G::Plain, Sz(L"Yes"), {}},
        {kHklm, kFileSystem, L"ContigFileAllocSize", G::Plain, Dw(1536), {}},
        {kHklm, kPolicies, L"LinkResolveIgnoreLinkInfo", G::Plain, Dw(0), {}},
        {kHklm, kPolicies, L"NoResolveSearch", G::Plain, Dw(1), {}},
        {kHklm, kMemory, L"IoPageLockLimit", G::Plain, Dw(4096), {}},
        {kHklm, kCrash, L"SendAlert", G::Plain, Dw(1), {}},
        {kHklm, kNtWindows, L"NoPopUpsOnBoot", G::Plain, Dw(1), {}},
        {kHklm, kNtWindows, L"Error Mode", G::Plain, Dw(1), {}},
        {kHklm, kMessenger, L"Start", G::Plain, Dw(4), {}},
        {kHklm, kTcpip, L"SynAttackProtect", G::Plain, Dw(2), {}},
        {kHklm, kTcpip, L"TcpMaxHalfOpen", G::Plain, Dw(100), {}},
        {kHklm, kTcpip, L"TcpMaxHalfOpenRetried", G::Plain, Dw(50), {}},
        {kHklm, kTcpip, L"EnableDeadGWDetect", G::Plain, Dw(0), {}},
        {kHklm, kTcpip, L"EnableICMPRedirects", G::Plain, Dw(0), {}},
        {kHklm, kNetbt, L"NoNameReleaseOnDemand", G::Plain, Dw(1), {}},
        {kHklm, kInterfaces, L"PerformRouterDiscovery", G::Plain, Dw(0), {}},

        {kHklm, kTcpip, L"EnablePMTUDiscovery", G::PathMtu, Dw(1), {}},

        {kHklm, kTcpip, L"DefaultTTL", G::FastConnection, Dw(64), {}},
        {kHklm, kTcpip, L"EnablePMTUBHDetect", G::FastConnection, Dw(0), {}},
        {kHklm, kTcpip, L"SackOpts", G::FastConnection, Dw(1), {}},
        {kHklm, kTcpip, L"Tcp1323Opts", G::FastConnection, Dw(3), {}},
        {kHklm, kTcpip, L"GlobalMaxTcpWindowSize", G::FastConnection, Dw(256960), {}},
        {kHklm, kTcpip, L"TcpWindowSize", G::FastConnection, Dw(256960), {}},
        {kHklm, kTcpip, L"TcpMaxDupAcks", G::FastConnection, Dw(2), {}},
        {kHklm, kPsched, L"NonBestEffortLimit", G::FastConnection, Dw(50), {}},
        {kHklm, kPsched, L"MaxOutstandingSends", G::FastConnection, Dw(65535), {}},

        {kHklm, kSessionManager, L"EnablePrefetcher", G::NotWindows2000, Dw(1), {}},
        {kHklm, kExplorer, L"ThumbnailSize", G::NotWindows2000, Dw(96), {}},
        {kHklm, kExplorer, L"ThumbnailQuality", G::NotWindows2000, Dw(80), {}},

        {kHklm, kSessionManager, L"AutoChkTimeOut", G::Server, Dw(0), {}},

        {kHklm, kDfrg, L"Enable", G::Workstation, Sz(L"Y"), {}},
        {kHklm, kP3, L"HackFlags", G::Workstation, Dw(1), {}},
    };
    return rows;
}

std::vector<CatalogueRow> RowsOf(RowGroup group) {
    std::vector<CatalogueRow> rows;
    std::copy_if(CatalogueRows().begin(), CatalogueRows().end(), std::back_inserter(rows),
                 [group](const CatalogueRow& row) { return row.group == group; });
    return rows;
}

RowData OptimizedData(const CatalogueRow& row, bool fastConnection, std::int32_t speed) {
    const std::wstring name = row.name;
    if (row.group == RowGroup::PathMtu) {
        return Dw(fastConnection ? 1 : 0);
    }
    if (name == L"MaxConnectionsPerServer" || name == L"MaxConnectionsPer1_0Server") {
        return Dw(speed > 0 ? 8 : 4);
    }
    return row.optimized;
}

RowView ViewOf(const CatalogueRow& row) {
    // Measured under Wine's 64-bit prefix with the 32-bit reg.exe: the
    // policies keys are shared, the other three are not.
    const wchar_t* const shared[] = {kPolicies, kPsched};
    const wchar_t* const redirected[] = {kNtWindows, kExplorer, kDfrg};
    const auto isOneOf = [&row](const auto& paths) {
        return std::any_of(std::begin(paths), std::end(paths), [&row](const wchar_t* path) {
            return std::wcscmp(path, row.path) == 0;
        });
    };
    if (row.root == kHklm && isOneOf(shared)) {
        return RowView::Shared;
    }
    if (row.root == kHklm && isOneOf(redirected)) {
        return RowView::Redirected;
    }
    return RowView::OneKey;
}

std::wstring RegExportKey(RootKey root, const wchar_t* path) {
    return std::wstring(root == RootKey::CurrentUser ? L"HKEY_CURRENT_USER"
                                                     : L"HKEY_LOCAL_MACHINE") +
           path;
}

std::wstring RegExportData(const RowData& data) {
    wchar_t piece[32];
    if (data.type == reg::kSz) {
        return L"\"" + data.text + L"\"";
    }
    if (data.type == reg::kDword) {
        std::swprintf(piece, 32, L"dword:%08x", static_cast<unsigned>(data.number));
        return piece;
    }
    std::wstring text = L"hex:";
    for (std::size_t i = 0; i < data.bytes.size(); ++i) {
        std::swprintf(piece, 32, i == 0 ? L"%02x" : L",%02x", data.bytes[i]);
        text += piece;
    }
    return text;
}

}  // namespace lumora::test
