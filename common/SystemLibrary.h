// Loading the system's own DLLs by their full path in the system folder, never
// by a bare name that the search order could resolve to a copy planted next
// to the program or in the current folder.
#pragma once

#include <windows.h>

#include <string>

namespace lumora {

// The system folder with a trailing backslash; empty when it cannot be read.
std::wstring SystemFolder();

// Loads |fileName| (a bare file name such as L"winmm.dll") from the system
// folder; null when it is not there or the folder cannot be read.
HMODULE LoadSystemLibrary(const std::wstring& fileName);

// The function |name| (or an ordinal, MAKEINTRESOURCEA(n)) exported by
// |module|, as a pointer of type Function; null when |module| is null or
// does not export it.
template <typename Function>
Function ProcAddress(HMODULE module, const char* name) {
    return module != nullptr
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
               : nullptr;
}

}  // namespace lumora
