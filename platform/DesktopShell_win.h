// Opening through the desktop's shell (Explorer), which runs with the rights
// of the user who is logged on, and the query of this process's elevation
// that decides whether that is needed (platform/UserRights.h).
#pragma once

#include <string>

#include "platform/UserRights.h"

namespace lumora {

// The elevation of this process's token; Unknown where the system does not
// know the query (before Vista) or it fails.
TokenElevation ProcessTokenElevation();

// The steps of a request through the desktop's shell, in order. A request
// ends at the first step that fails, or at Opened.
enum class DesktopShellStep {
    LoadCom,          // ole32.dll and oleaut32.dll with the functions used
    InitializeCom,    // CoInitializeEx on this thread
    ShellWindows,     // CoCreateInstance(CLSID_ShellWindows)
    FindDesktop,      // IShellWindows::FindWindowSW(SWC_DESKTOP, SWFO_NEEDDISPATCH)
    ServiceProvider,  // the desktop's IServiceProvider
    TopLevelBrowser,  // IServiceProvider::QueryService(SID_STopLevelBrowser, IShellBrowser)
    ActiveShellView,  // IShellBrowser::QueryActiveShellView
    ViewBackground,   // IShellView::GetItemObject(SVGIO_BACKGROUND, IDispatch)
    FolderViewDual,   // the background's IShellFolderViewDual
    Application,      // IShellFolderViewDual::get_Application
    ShellDispatch2,   // the application's IShellDispatch2
    Execute,          // IShellDispatch2::ShellExecute
    Opened,           // the desktop's shell took the request
};

// The call a step makes, for messages.
const char* DesktopShellStepName(DesktopShellStep step);

// Hands |file| with |parameters| (none when empty) to the desktop's shell
// with the verb "open", no working directory and SW_SHOW; the shell starts
// it with the user's rights. Opened when the shell took the request (what it
// then shows for a missing file is its own), else the step that failed.
// Never raises.
DesktopShellStep OpenThroughDesktopShell(const std::wstring& file, const std::wstring& parameters);

}  // namespace lumora
