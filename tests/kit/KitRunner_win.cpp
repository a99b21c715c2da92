// lumora_kit.exe: the test kit's own helper, which run-tests.cmd calls. It
// loads on every Windows from 2000 on, so that the kit reports even where a
// test executable cannot start.
//   lumora_kit run <folder> <test> <seconds> <results>
//     Runs <folder>\<test>.exe from its folder with GoogleTest's XML report
//     written to <results>\<test>.xml and its output to <results>\<test>.log;
//     ends it after <seconds>. Writes its outcome to <results>\<test>.exit.
//     Exits with 0 when the test ended with 0, else 1 (a crash's exit code
//     would read as below 1 to cmd.exe's "if errorlevel 1").
//   lumora_kit summary <results> <folder>...
//     Reads the reports of the tests each <folder>\tests.txt lists and writes
//     <results>\summary.txt; exits 1 when a test failed or a report is
//     missing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/kit/TestReport.h"
#include "tests/support/Wine.h"

namespace {

using lumora::kit::ReadReport;
using lumora::kit::SuiteReport;

// Reads at most |limit| bytes of a file; empty when it cannot be read.
std::string ReadFileText(const std::wstring& path, DWORD limit) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::string();
    }
    std::string text;
    char buffer[65536];
    DWORD got = 0;
    while (text.size() < limit && ReadFile(file, buffer, sizeof(buffer), &got, nullptr) &&
           got > 0) {
        text.append(buffer, std::min<std::size_t>(got, limit - text.size()));
    }
    CloseHandle(file);
    return text;
}

bool WriteFileText(const std::wstring& path, const std::string& text) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == text.size();
}

std::string Narrow(const std::wstring& text) {
    std::string narrow(text.size(), '?');
    std::transform(text.begin(), text.end(), narrow.begin(),
                   [](wchar_t c) { return c < 0x80 ? static_cast<char>(c) : '?'; });
    return narrow;
}

std::wstring FullPath(const std::wstring& path) {
    wchar_t full[MAX_PATH] = {};
    const DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    return n > 0 && n < MAX_PATH ? std::wstring(full) : path;
}

// Windows shows no crash dialog to a process whose error mode says so (the
// tests inherit it from here); Wine's debugger shows one regardless, unless
// its own setting turns it off. Without this, a crashing test would wait out
// its time limit under Wine.
void QuietWineCrashes() {
    if (!lumora::test::RunningUnderWine()) {
        return;
    }
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\WineDbg", 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) == ERROR_SUCCESS) {
        const DWORD off = 0;
        RegSetValueExW(key, L"ShowCrashDialog", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&off),
                       sizeof(off));
        RegCloseKey(key);
    }
}

int Run(const std::wstring& folder, const std::wstring& test, DWORD seconds,
        const std::wstring& results) {
    const std::wstring testFolder = FullPath(folder);
    const std::wstring resultsFolder = FullPath(results);
    const std::wstring exe = testFolder + L"\\" + test + L".exe";
    const std::wstring report = resultsFolder + L"\\" + test + L".xml";
    const std::wstring outcomeFile = resultsFolder + L"\\" + test + L".exit";
    std::wstring command = L"\"" + exe + L"\" \"--gtest_output=xml:" + report + L"\"";

    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE log =
        CreateFileW((resultsFolder + L"\\" + test + L".log").c_str(), GENERIC_WRITE,
                    FILE_SHARE_READ, &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (log != INVALID_HANDLE_VALUE) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = log;
        startup.hStdError = log;
    }
    std::printf("%-28s ", Narrow(test).c_str());
    std::fflush(stdout);
    PROCESS_INFORMATION process{};
    const DWORD started = GetTickCount();
    if (!CreateProcessW(exe.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                        testFolder.c_str(), &startup, &process)) {
        const DWORD error = GetLastError();
        if (log != INVALID_HANDLE_VALUE) {
            CloseHandle(log);
        }
        char text[96];
        std::snprintf(text, sizeof(text), "did not start (error %lu)",
                      static_cast<unsigned long>(error));
        WriteFileText(outcomeFile, std::string(text) + "\r\n");
        std::printf("%s\n", text);
        return 1;
    }
    CloseHandle(process.hThread);
    bool passed = false;
    std::string outcome;
    if (WaitForSingleObject(process.hProcess, seconds * 1000) == WAIT_TIMEOUT) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 10000);
        char text[96];
        std::snprintf(text, sizeof(text), "ran out of time (%lu s) and was ended",
                      static_cast<unsigned long>(seconds));
        outcome = text;
    } else {
        DWORD code = 1;
        GetExitCodeProcess(process.hProcess, &code);
        passed = code == 0;
        char text[64];
        // A crash's code reads best as Windows names it: 0xC0000005.
        std::snprintf(text, sizeof(text), code > 0xFFFF ? "exit code 0x%08lX" : "exit code %lu",
                      static_cast<unsigned long>(code));
        outcome = text;
    }
    CloseHandle(process.hProcess);
    if (log != INVALID_HANDLE_VALUE) {
        CloseHandle(log);
    }
    WriteFileText(outcomeFile, outcome + "\r\n");
    std::printf("%s, %lu s\n", passed ? "passed" : "FAILED",
                static_cast<unsigned long>((GetTickCount() - started) / 1000));
    return passed ? 0 : 1;
}

// What the host is: its own version (past the compatibility answer),
// product name, bitness, and Wine where the kit runs under it.
std::string HostLines() {
    OSVERSIONINFOEXW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
    if (rtlGetVersion == nullptr || rtlGetVersion(&version) != 0) {
        version = OSVERSIONINFOEXW{};
        version.dwOSVersionInfoSize = sizeof(version);
        if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version))) {
            version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
            GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version));
        }
    }
    std::wstring product;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion", 0,
                      KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        for (const wchar_t* name : {L"ProductName", L"DisplayVersion"}) {
            wchar_t value[128] = {};
            DWORD size = sizeof(value) - sizeof(wchar_t);
            DWORD type = 0;
            if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value),
                                 &size) == ERROR_SUCCESS &&
                type == REG_SZ) {
                product += (product.empty() ? L"" : L" ") + std::wstring(value);
            }
        }
        RegCloseKey(key);
    }
    const char* kinds[] = {"unknown", "workstation", "domain controller", "server"};
    char line[512];
    std::string lines;
    std::snprintf(line, sizeof(line), "Windows:  %s, version %lu.%lu build %lu %s(%s)\r\n",
                  product.empty() ? "?" : Narrow(product).c_str(),
                  static_cast<unsigned long>(version.dwMajorVersion),
                  static_cast<unsigned long>(version.dwMinorVersion),
                  static_cast<unsigned long>(version.dwBuildNumber),
                  version.szCSDVersion[0] ? (Narrow(version.szCSDVersion) + " ").c_str() : "",
                  kinds[version.wProductType <= 3 ? version.wProductType : 0]);
    lines += line;

    BOOL wow64 = FALSE;
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, BOOL*);
    const auto isWow64 = reinterpret_cast<IsWow64ProcessFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
    if (isWow64 != nullptr) {
        isWow64(GetCurrentProcess(), &wow64);
    }
    std::snprintf(line, sizeof(line), "Bitness:  %s Windows, %u-bit tests\r\n",
                  wow64 ? "64-bit" : (sizeof(void*) == 8 ? "64-bit" : "32-bit"),
                  static_cast<unsigned>(sizeof(void*) * 8));
    lines += line;

    const char* wine = lumora::test::WineVersion();
    lines += std::string("Wine:     ") + (wine != nullptr ? wine : "no") + "\r\n";

    SYSTEMTIME now{};
    GetLocalTime(&now);
    std::snprintf(line, sizeof(line), "Date:     %04u-%02u-%02u %02u:%02u (local time)\r\n",
                  now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute);
    lines += line;
    return lines;
}

// The test names a folder's tests.txt lists, one a line ("<name> <seconds>").
std::vector<std::string> ListedTests(const std::wstring& folder) {
    const std::string text = ReadFileText(folder + L"\\tests.txt", 1 << 16);
    std::vector<std::string> names;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string line = text.substr(at, end - at);
        const std::string name = line.substr(0, line.find_first_of(" \t\r"));
        if (!name.empty()) {
            names.push_back(name);
        }
        at = end + 1;
    }
    return names;
}

int Summary(const std::wstring& results, const std::vector<std::wstring>& folders) {
    std::string text = "Lumora Windows test kit: summary\r\n\r\n" + HostLines() + "\r\n";
    char line[512];
    std::snprintf(line, sizeof(line), "%-36s %7s %7s %7s\r\n", "suite", "passed", "failed",
                  "skipped");
    text += line;
    int passed = 0, failed = 0, skipped = 0, suites = 0, brokenSuites = 0;
    for (const std::wstring& folder : folders) {
        for (const std::string& name : ListedTests(folder)) {
            const std::wstring wideName(name.begin(), name.end());
            const std::string xml = ReadFileText(results + L"\\" + wideName + L".xml", 32 << 20);
            std::string outcome = ReadFileText(results + L"\\" + wideName + L".exit", 256);
            outcome.resize(std::min(outcome.size(), outcome.find_first_of("\r\n")));
            const SuiteReport report = ReadReport(xml);
            const std::string suite = Narrow(folder) + "\\" + name;
            std::snprintf(line, sizeof(line), "%-36s %7d %7d %7d\r\n", suite.c_str(), report.passed,
                          static_cast<int>(report.failures.size()), report.skipped);
            text += line;
            ++suites;
            passed += report.passed;
            failed += static_cast<int>(report.failures.size());
            skipped += report.skipped;
            for (const std::string& failure : report.failures) {
                text += "    failed: " + failure + "\r\n";
            }
            const std::string how = outcome.empty() ? std::string("not run") : outcome;
            if (!report.complete) {
                text += "    no complete report (" + how + ")\r\n";
                ++brokenSuites;
            } else if (outcome != "exit code 0") {
                if (report.failures.empty()) {
                    text += "    did not end cleanly (" + how + ")\r\n";
                }
                ++brokenSuites;
            } else if (!report.failures.empty()) {
                ++brokenSuites;
            }
        }
    }
    std::snprintf(line, sizeof(line),
                  "\r\nTotal: %d passed, %d failed, %d skipped in %d suites\r\nResult: %s\r\n",
                  passed, failed, skipped, suites, brokenSuites == 0 ? "PASSED" : "FAILED");
    text += line;
    WriteFileText(results + L"\\summary.txt", text);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return brokenSuites == 0 && suites > 0 ? 0 : 1;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: lumora_kit run <folder> <test> <seconds> <results>\n"
                 "       lumora_kit summary <results> <folder>...\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // A crashing test ends with its exit code; no dialog waits for somebody
    // to close it. The tests inherit the mode.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"run" && argc == 6) {
        QuietWineCrashes();
        const long seconds = std::wcstol(argv[4], nullptr, 10);
        return Run(argv[2], argv[3], seconds > 0 ? static_cast<DWORD>(seconds) : 300, argv[5]);
    }
    if (command == L"summary" && argc >= 4) {
        return Summary(argv[2], std::vector<std::wstring>(argv + 3, argv + argc));
    }
    return Usage();
}
