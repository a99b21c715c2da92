// How long Lumora.exe takes under Wine from its start until its main window
// is visible, and how much memory it takes, next to two reference programs
// started in turn with it: a bare window and a floor window with the same
// kinds and number of controls as the main window (startup_floor_window.exe).
// Prints the medians, their ratios and the size of Lumora.exe; asserts
// nothing. Further Lumora builds named on the command line (full paths) are
// started in turn as well, to compare two builds in one run.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "registry/ProgramKey.h"
#include "tests/support/Process.h"
#include "tests/support/RawRegistry.h"
#include "ui/framework/WindowClasses.h"

namespace lumora {
namespace {

constexpr int kStarts = 7;
constexpr DWORD kShowTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 30000;

struct Program {
    std::string name;
    std::wstring commandLine;
    const wchar_t* windowClass;
    std::vector<double> startMs;
    std::vector<double> peakMiB;
    int failures = 0;
};

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// The visible top-level window of the class owned by the process, or null.
HWND VisibleWindow(const wchar_t* windowClass, DWORD processId) {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, windowClass, nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

// One start: the time to the visible window, then, once the window's thread
// has come back to its message loop, the process's peak working set; then
// the window is closed and the end awaited.
bool StartOnce(Program& program, bool record) {
    LARGE_INTEGER start{};
    QueryPerformanceCounter(&start);
    test::Started started = test::Start(program.commandLine);
    if (started.process == nullptr) {
        return false;
    }
    HWND window = nullptr;
    LARGE_INTEGER shown{};
    for (;;) {
        window = VisibleWindow(program.windowClass, started.id);
        QueryPerformanceCounter(&shown);
        if (window != nullptr || Milliseconds(start, shown) > kShowTimeoutMs ||
            WaitForSingleObject(started.process, 0) == WAIT_OBJECT_0) {
            break;
        }
        Sleep(1);
    }
    bool ok = window != nullptr;
    if (ok) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kShowTimeoutMs, &ignored);
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof(counters);
        const bool measured =
            GetProcessMemoryInfo(started.process, &counters, sizeof(counters)) != FALSE;
        if (record) {
            program.startMs.push_back(Milliseconds(start, shown));
            if (measured) {
                program.peakMiB.push_back(static_cast<double>(counters.PeakWorkingSetSize) /
                                          (1024.0 * 1024.0));
            }
        }
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    ok = test::WaitForExit(started, kExitTimeoutMs) == 0 && ok;
    if (!ok && record) {
        ++program.failures;
    }
    return ok;
}

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Print(const Program& program, const Program& floor) {
    const double ms = Median(program.startMs);
    const double mib = Median(program.peakMiB);
    std::printf("%-14s start to visible window: median %7.1f ms (fastest %7.1f)",
                program.name.c_str(), ms,
                program.startMs.empty()
                    ? 0.0
                    : *std::min_element(program.startMs.begin(), program.startMs.end()));
    if (&program != &floor && Median(floor.startMs) > 0.0) {
        std::printf(" = %.2fx floor", ms / Median(floor.startMs));
    }
    std::printf("; peak working set: median %5.1f MiB", mib);
    if (&program != &floor && Median(floor.peakMiB) > 0.0) {
        std::printf(" = %.2fx floor", mib / Median(floor.peakMiB));
    }
    std::printf(" (%zu starts", program.startMs.size());
    if (program.failures > 0) {
        std::printf(", %d failed", program.failures);
    }
    std::printf(")\n");
}

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

void PrintSize(const std::wstring& exe) {
    WIN32_FILE_ATTRIBUTE_DATA file{};
    if (GetFileAttributesExW(exe.c_str(), GetFileExInfoStandard, &file)) {
        std::printf("%s: %lu bytes\n", Narrow(exe).c_str(),
                    static_cast<unsigned long>(file.nFileSizeLow));
    }
}

int Run(const std::vector<std::wstring>& others) {
    const std::wstring folder = test::TestFolder();
    const std::wstring lumora = folder + L"Lumora.exe";
    const std::wstring reference = L"\"" + folder + L"startup_floor_window.exe\"";
    std::vector<Program> programs;
    programs.push_back({"bare window", reference + L" /bare", L"LumoraBareWindow", {}, {}});
    programs.push_back({"floor window", reference, L"LumoraFloorWindow", {}, {}});
    programs.push_back({"Lumora.exe", L"\"" + lumora + L"\"", kMainFormClass, {}, {}});
    std::transform(others.begin(), others.end(), std::back_inserter(programs),
                   [](const std::wstring& other) {
                       return Program{Narrow(other.substr(other.find_last_of(L"\\/") + 1)),
                                      L"\"" + other + L"\"",
                                      kMainFormClass,
                                      {},
                                      {}};
                   });

    // A fresh program key: no stored choices and no update date, so that the
    // program starts no update check of its own.
    test::RawRegistry raw;
    raw.DeleteTree(program_key::kRoot, program_key::kPath);
    if (FindWindowW(kMainFormClass, nullptr) != nullptr) {
        std::printf("startup benchmark: a Lumora main window is already open\n");
        return 1;
    }

    // One start of each first, unrecorded: disk cache and Wine's own set-up.
    for (Program& program : programs) {
        StartOnce(program, false);
    }
    for (int round = 0; round < kStarts; ++round) {
        for (Program& program : programs) {
            StartOnce(program, true);
        }
    }
    raw.DeleteTree(program_key::kRoot, program_key::kPath);

    std::printf("Medians of %d starts each, taken in turn:\n", kStarts);
    for (const Program& program : programs) {
        Print(program, programs[1]);
    }
    PrintSize(lumora);
    for (const std::wstring& other : others) {
        PrintSize(other);
    }
    const bool failed = std::any_of(programs.begin(), programs.end(), [](const Program& program) {
        return program.failures > 0 || program.startMs.empty();
    });
    return failed ? 1 : 0;
}

}  // namespace
}  // namespace lumora

int wmain(int argc, wchar_t** argv) {
    return lumora::Run(std::vector<std::wstring>(argv + 1, argv + argc));
}
