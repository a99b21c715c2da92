// Opening files, programs, help topics and web pages through the Windows
// shell. Requests are fire-and-forget: a missing file, help control or
// browser simply does nothing, and nothing is reported.
//
// What the program opens runs with the user's own rights, not with the
// administrator's that the program itself has: where the program runs in
// the elevated half of a split token (Vista and later with UAC), the
// desktop's shell opens it (platform/UserRights.h). Only the program's own
// second instance keeps the program's rights.
#pragma once

#include <windows.h>

#include <string>

namespace lumora {

// The folder of the running executable, ending in a path separator.
std::wstring ProgramFolder();

// The program's application window, which owns what the shell shows for
// ExecuteFile and OpenUrl. None (null) until a window sets it.
void SetShellOwnerWindow(HWND owner);

// Opens |file| with the shell's "open" action, owned by the application
// window. An empty |parameters| passes none; an empty |file| does nothing.
void ExecuteFile(const std::wstring& file, const std::wstring& parameters);

// Opens |file| through the shell, owned by nothing, so that a started program
// lives on its own.
void ExecuteFileDetached(const std::wstring& file, const std::wstring& parameters);

// As ExecuteFileDetached, but the started program keeps this process's
// rights (the administrator's where the program runs elevated), asked for
// no second time: for the program's own second instance.
void ExecuteFileDetachedKeepingRights(const std::wstring& file, const std::wstring& parameters);

// Shows |topic| of the compiled help file |helpFile| in the program folder.
// The help control is loaded from the system folder on the first request and
// kept; when it cannot be loaded, the next request tries again.
void ShowHelpTopic(const std::wstring& helpFile, const std::wstring& topic);

// Opens a web address or a file with its default handler, owned by the
// application window.
void OpenUrl(const std::wstring& target);

}  // namespace lumora
