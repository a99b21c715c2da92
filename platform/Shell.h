// Opening files, programs and web pages through the Windows shell. Requests
// are fire-and-forget: a missing file or a refused start simply does nothing.
#pragma once

#include <string>

namespace lumora {

// The folder of the running executable, ending in a path separator.
std::wstring ProgramFolder();

// Opens |file| through the shell, owned by nothing, so that a started program
// lives on its own.
void ExecuteFileDetached(const std::wstring& file, const std::wstring& parameters);

}  // namespace lumora
