// Starting programs from Windows-side tests: the program under test next to
// the test executable, and Wine's own tools (reg.exe) with their output.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace lumora::test {

// The folder of the running test executable, with a trailing backslash.
std::wstring TestFolder();

struct Started {
    HANDLE process = nullptr;
    DWORD id = 0;
};

// Starts a program with a command line (the program's quoted path first).
Started Start(const std::wstring& commandLine);
// Waits for the process to end; its exit code, or -1 after |timeoutMs|
// (the process is then killed).
int WaitForExit(Started& started, DWORD timeoutMs);
// Runs a command line to its end and returns what it wrote to stdout.
std::string RunAndCapture(const std::wstring& commandLine, DWORD timeoutMs = 30000);

// Polls for a top-level window of the class owned by the process (any
// process when |processId| is 0), up to |timeoutMs|.
HWND WaitForWindow(const wchar_t* windowClass, DWORD processId, DWORD timeoutMs);

// Polls |condition| until it holds; false when it did not within |timeoutMs|.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 20000);

// True on a 64-bit Windows, asked of the system directly: the test program is
// 64-bit, or a 32-bit one that the system runs beside its 64-bit programs.
bool OnWindows64();

}  // namespace lumora::test
