// How long Lumora.exe takes under Wine from its start until its main window
// is visible, and its peak working set, against the floor: a plain Win32
// window with the same kinds and number of controls and the same kind of
// manifest (startup_floor_window.exe), with a bare window for scale
// (startup_bare_window.exe). The programs are started in rounds, each one
// once per round, back to back; the first of a round alternates between the
// floor and the rest. The figures are the medians of the rounds' own ratios
// to the floor, which the machine's load drifts less than between rounds.
// Asserts nothing. Further Lumora builds named on the command line (full
// paths) take part in every round as well, to compare builds in one run.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "registry/ProgramKey.h"
#include "tests/support/Process.h"
#include "tests/support/RawRegistry.h"
#include "ui/framework/WindowClasses.h"

namespace lumora {
namespace {

constexpr int kRounds = 15;
constexpr DWORD kShowTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 30000;

struct Sample {
    double startMs = 0.0;
    double peakMiB = 0.0;
};

struct Program {
    std::string name;
    std::wstring commandLine;
    const wchar_t* windowClass;
    std::vector<std::optional<Sample>> rounds;  // none where the start failed
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
// the window is closed and the end awaited. None when any of it failed.
std::optional<Sample> StartOnce(const Program& program) {
    LARGE_INTEGER start{};
    QueryPerformanceCounter(&start);
    test::Started started = test::Start(program.commandLine);
    if (started.process == nullptr) {
        return std::nullopt;
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
    std::optional<Sample> sample;
    if (window != nullptr) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kShowTimeoutMs, &ignored);
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof(counters);
        if (GetProcessMemoryInfo(started.process, &counters, sizeof(counters))) {
            sample = Sample{Milliseconds(start, shown),
                            static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0)};
        }
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (test::WaitForExit(started, kExitTimeoutMs) != 0) {
        sample.reset();
    }
    return sample;
}

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

// The program's own figure in each round it started in.
std::vector<double> Figures(const Program& program, double Sample::*figure) {
    std::vector<double> values;
    for (const std::optional<Sample>& sample : program.rounds) {
        if (sample) {
            values.push_back((*sample).*figure);
        }
    }
    return values;
}

// The program's figure over the floor's, in each round both started in.
std::vector<double> Ratios(const Program& program, const Program& floor, double Sample::*figure) {
    std::vector<double> ratios;
    for (std::size_t round = 0; round < program.rounds.size(); ++round) {
        const std::optional<Sample>& mine = program.rounds[round];
        const std::optional<Sample>& theirs = floor.rounds[round];
        if (mine && theirs && (*theirs).*figure > 0.0) {
            ratios.push_back((*mine).*figure / (*theirs).*figure);
        }
    }
    return ratios;
}

void Print(const Program& program, const Program& floor) {
    const std::vector<double> ms = Figures(program, &Sample::startMs);
    const std::vector<double> mib = Figures(program, &Sample::peakMiB);
    const std::size_t failed = program.rounds.size() - ms.size();
    std::printf(
        "%-14s start to visible window: median %6.1f ms (%6.1f..%6.1f); peak working set: "
        "median %5.1f MiB (%zu of %zu starts",
        program.name.c_str(), Median(ms),
        ms.empty() ? 0.0 : *std::min_element(ms.begin(), ms.end()),
        ms.empty() ? 0.0 : *std::max_element(ms.begin(), ms.end()), Median(mib), ms.size(),
        program.rounds.size());
    if (failed > 0) {
        std::printf(", %zu failed", failed);
    }
    std::printf(")\n");
    if (&program == &floor) {
        return;
    }
    const std::vector<double> time = Ratios(program, floor, &Sample::startMs);
    const std::vector<double> memory = Ratios(program, floor, &Sample::peakMiB);
    if (time.empty()) {
        return;
    }
    std::printf(
        "%-14s over the floor, median of %zu rounds' ratios: start %.2fx (%.2f..%.2f), "
        "peak working set %.2fx (%.2f..%.2f)\n",
        "", time.size(), Median(time), *std::min_element(time.begin(), time.end()),
        *std::max_element(time.begin(), time.end()), Median(memory),
        *std::min_element(memory.begin(), memory.end()),
        *std::max_element(memory.begin(), memory.end()));
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

// A further build by its folder and file name ("baseline\Lumora.exe"), which
// tells it from the Lumora.exe under test.
std::wstring ShortName(const std::wstring& path) {
    const std::size_t file = path.find_last_of(L"\\/");
    if (file == std::wstring::npos || file == 0) {
        return path;
    }
    const std::size_t folder = path.find_last_of(L"\\/", file - 1);
    return folder == std::wstring::npos ? path : path.substr(folder + 1);
}

int Run(const std::vector<std::wstring>& others) {
    const std::wstring folder = test::TestFolder();
    const std::wstring lumora = folder + L"Lumora.exe";
    std::vector<Program> programs;
    programs.push_back(
        {"floor window", L"\"" + folder + L"startup_floor_window.exe\"", L"FloorWindow", {}});
    programs.push_back(
        {"bare window", L"\"" + folder + L"startup_bare_window.exe\"", L"BareWindow", {}});
    programs.push_back({"Lumora.exe", L"\"" + lumora + L"\"", kMainFormClass, {}});
    std::transform(
        others.begin(), others.end(), std::back_inserter(programs), [](const std::wstring& other) {
            return Program{Narrow(ShortName(other)), L"\"" + other + L"\"", kMainFormClass, {}};
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
    for (const Program& program : programs) {
        StartOnce(program);
    }
    for (int round = 0; round < kRounds; ++round) {
        std::vector<Program*> order(programs.size());
        std::transform(programs.begin(), programs.end(), order.begin(),
                       [](Program& program) { return &program; });
        if (round % 2 == 1) {
            std::rotate(order.begin(), order.begin() + 1, order.end());
        }
        for (Program* program : order) {
            program->rounds.push_back(StartOnce(*program));
        }
    }
    raw.DeleteTree(program_key::kRoot, program_key::kPath);

    std::printf("%d rounds, each program started once per round:\n", kRounds);
    for (const Program& program : programs) {
        Print(program, programs.front());
    }
    PrintSize(lumora);
    for (const std::wstring& other : others) {
        PrintSize(other);
    }
    const bool failed = std::any_of(programs.begin(), programs.end(), [](const Program& program) {
        return std::any_of(program.rounds.begin(), program.rounds.end(),
                           [](const std::optional<Sample>& sample) { return !sample; });
    });
    return failed ? 1 : 0;
}

}  // namespace
}  // namespace lumora

int wmain(int argc, wchar_t** argv) {
    return lumora::Run(std::vector<std::wstring>(argv + 1, argv + argc));
}
