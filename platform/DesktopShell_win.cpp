#include "platform/DesktopShell_win.h"

#include <windows.h>

#include <shellapi.h>
// shellapi.h comes first: its ShellExecute macro names the method of
// IShellDispatch2 in its declaration and in the call below alike.
#include <exdisp.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include "common/SystemLibrary.h"

namespace lumora {

namespace {

using CoInitializeExFunction = HRESULT(WINAPI*)(void* reserved, DWORD flags);
using CoUninitializeFunction = void(WINAPI*)();
using CoCreateInstanceFunction = HRESULT(WINAPI*)(REFCLSID type, IUnknown* outer, DWORD context,
                                                  REFIID interfaceId, void** object);
using SysAllocStringFunction = BSTR(WINAPI*)(const OLECHAR* text);
using SysFreeStringFunction = void(WINAPI*)(BSTR text);

struct ComFunctions {
    CoInitializeExFunction initialize = nullptr;
    CoUninitializeFunction uninitialize = nullptr;
    CoCreateInstanceFunction createInstance = nullptr;
    SysAllocStringFunction allocString = nullptr;
    SysFreeStringFunction freeString = nullptr;

    bool Complete() const {
        return initialize != nullptr && uninitialize != nullptr && createInstance != nullptr &&
               allocString != nullptr && freeString != nullptr;
    }
};

// COM and OLE Automation serve only this way, which only an elevated
// program on Vista and later takes: ole32.dll and oleaut32.dll are loaded
// from the system folder on its first request, not at start. A request that
// finds them missing tries again the next time.
const ComFunctions& Com() {
    static ComFunctions functions;
    if (!functions.Complete()) {
        const HMODULE ole32 = LoadSystemLibrary(L"ole32.dll");
        const HMODULE oleaut32 = LoadSystemLibrary(L"oleaut32.dll");
        functions.initialize = ProcAddress<CoInitializeExFunction>(ole32, "CoInitializeEx");
        functions.uninitialize = ProcAddress<CoUninitializeFunction>(ole32, "CoUninitialize");
        functions.createInstance = ProcAddress<CoCreateInstanceFunction>(ole32, "CoCreateInstance");
        functions.allocString = ProcAddress<SysAllocStringFunction>(oleaut32, "SysAllocString");
        functions.freeString = ProcAddress<SysFreeStringFunction>(oleaut32, "SysFreeString");
    }
    return functions;
}

// One reference to a COM object, released when it goes.
template <typename Interface>
class ComRef {
  public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() {
        if (object_ != nullptr) {
            object_->Release();
        }
    }
    Interface** Out() { return &object_; }
    void** OutVoid() { return reinterpret_cast<void**>(&object_); }
    Interface* operator->() const { return object_; }
    bool Empty() const { return object_ == nullptr; }

  private:
    Interface* object_ = nullptr;
};

// A BSTR of its own, freed when it goes; null when it could not be made.
class OwnedBstr {
  public:
    OwnedBstr(const ComFunctions& com, const std::wstring& text)
        : free_(com.freeString), text_(com.allocString(text.c_str())) {}
    OwnedBstr(const OwnedBstr&) = delete;
    OwnedBstr& operator=(const OwnedBstr&) = delete;
    ~OwnedBstr() {
        if (text_ != nullptr) {
            free_(text_);
        }
    }
    BSTR Get() const { return text_; }

  private:
    SysFreeStringFunction free_;
    BSTR text_;
};

VARIANT EmptyVariant() {
    VARIANT value{};
    V_VT(&value) = VT_EMPTY;
    return value;
}

VARIANT TextVariant(BSTR text) {
    VARIANT value{};
    V_VT(&value) = VT_BSTR;
    V_BSTR(&value) = text;
    return value;
}

VARIANT NumberVariant(LONG number) {
    VARIANT value{};
    V_VT(&value) = VT_I4;
    V_I4(&value) = number;
    return value;
}

// The chain from the shell's windows to the desktop's Shell.Application,
// on a thread where COM is initialised. Every reference is released before
// the caller uninitialises COM.
DesktopShellStep ShellExecuteOnDesktop(const ComFunctions& com, const std::wstring& file,
                                       const std::wstring& parameters) {
    ComRef<IShellWindows> windows;
    if (FAILED(com.createInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_IShellWindows,
                                  windows.OutVoid())) ||
        windows.Empty()) {
        return DesktopShellStep::ShellWindows;
    }
    VARIANT location = NumberVariant(CSIDL_DESKTOP);
    VARIANT root = EmptyVariant();
    LONG desktopWindow = 0;
    ComRef<IDispatch> desktop;
    // S_FALSE: no such window, and no object.
    if (windows->FindWindowSW(&location, &root, SWC_DESKTOP, &desktopWindow, SWFO_NEEDDISPATCH,
                              desktop.Out()) != S_OK ||
        desktop.Empty()) {
        return DesktopShellStep::FindDesktop;
    }
    ComRef<IServiceProvider> services;
    if (FAILED(desktop->QueryInterface(IID_IServiceProvider, services.OutVoid())) ||
        services.Empty()) {
        return DesktopShellStep::ServiceProvider;
    }
    ComRef<IShellBrowser> browser;
    if (FAILED(
            services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.OutVoid())) ||
        browser.Empty()) {
        return DesktopShellStep::TopLevelBrowser;
    }
    ComRef<IShellView> view;
    if (FAILED(browser->QueryActiveShellView(view.Out())) || view.Empty()) {
        return DesktopShellStep::ActiveShellView;
    }
    ComRef<IDispatch> background;
    if (FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.OutVoid())) ||
        background.Empty()) {
        return DesktopShellStep::ViewBackground;
    }
    ComRef<IShellFolderViewDual> folderView;
    if (FAILED(background->QueryInterface(IID_IShellFolderViewDual, folderView.OutVoid())) ||
        folderView.Empty()) {
        return DesktopShellStep::FolderViewDual;
    }
    ComRef<IDispatch> application;
    if (FAILED(folderView->get_Application(application.Out())) || application.Empty()) {
        return DesktopShellStep::Application;
    }
    ComRef<IShellDispatch2> shell;
    if (FAILED(application->QueryInterface(IID_IShellDispatch2, shell.OutVoid())) ||
        shell.Empty()) {
        return DesktopShellStep::ShellDispatch2;
    }

    const OwnedBstr fileText(com, file);
    const OwnedBstr parametersText(com, parameters);
    const OwnedBstr verb(com, L"open");
    if (fileText.Get() == nullptr || parametersText.Get() == nullptr || verb.Get() == nullptr) {
        return DesktopShellStep::Execute;
    }
    // The shell's process starts what it opens; this process, in the
    // foreground, lets that window come to the front.
    AllowSetForegroundWindow(ASFW_ANY);
    const VARIANT arguments =
        parameters.empty() ? EmptyVariant() : TextVariant(parametersText.Get());
    // S_FALSE is the shell's own failure to open the file: it has taken the
    // request and said what it had to say.
    if (FAILED(shell->ShellExecute(fileText.Get(), arguments, EmptyVariant(),
                                   TextVariant(verb.Get()), NumberVariant(SW_SHOW)))) {
        return DesktopShellStep::Execute;
    }
    return DesktopShellStep::Opened;
}

}  // namespace

TokenElevation ProcessTokenElevation() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return TokenElevation::Unknown;
    }
    // A class of Windows Vista on: Windows 2000 and XP refuse it.
    DWORD type = 0;
    DWORD size = 0;
    const BOOL known = GetTokenInformation(token, TokenElevationType, &type, sizeof(type), &size);
    CloseHandle(token);
    return known && size == sizeof(type) ? TokenElevationFromType(static_cast<int>(type))
                                         : TokenElevation::Unknown;
}

const char* DesktopShellStepName(DesktopShellStep step) {
    switch (step) {
        case DesktopShellStep::LoadCom:
            return "loading ole32.dll and oleaut32.dll";
        case DesktopShellStep::InitializeCom:
            return "CoInitializeEx";
        case DesktopShellStep::ShellWindows:
            return "CoCreateInstance(CLSID_ShellWindows)";
        case DesktopShellStep::FindDesktop:
            return "IShellWindows::FindWindowSW(SWC_DESKTOP, SWFO_NEEDDISPATCH)";
        case DesktopShellStep::ServiceProvider:
            return "IDispatch::QueryInterface(IServiceProvider)";
        case DesktopShellStep::TopLevelBrowser:
            return "IServiceProvider::QueryService(SID_STopLevelBrowser, IShellBrowser)";
        case DesktopShellStep::ActiveShellView:
            return "IShellBrowser::QueryActiveShellView";
        case DesktopShellStep::ViewBackground:
            return "IShellView::GetItemObject(SVGIO_BACKGROUND, IDispatch)";
        case DesktopShellStep::FolderViewDual:
            return "IDispatch::QueryInterface(IShellFolderViewDual)";
        case DesktopShellStep::Application:
            return "IShellFolderViewDual::get_Application";
        case DesktopShellStep::ShellDispatch2:
            return "IDispatch::QueryInterface(IShellDispatch2)";
        case DesktopShellStep::Execute:
            return "IShellDispatch2::ShellExecute";
        case DesktopShellStep::Opened:
            break;
    }
    return "opened";
}

DesktopShellStep OpenThroughDesktopShell(const std::wstring& file, const std::wstring& parameters) {
    const ComFunctions& com = Com();
    if (!com.Complete()) {
        return DesktopShellStep::LoadCom;
    }
    // S_OK and S_FALSE (COM was initialised on this thread before) each
    // want their CoUninitialize. A thread in the multithreaded apartment
    // reaches the shell as well and is left as it is.
    const HRESULT initialized = com.initialize(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(initialized) && initialized != RPC_E_CHANGED_MODE) {
        return DesktopShellStep::InitializeCom;
    }
    const DesktopShellStep step = ShellExecuteOnDesktop(com, file, parameters);
    if (SUCCEEDED(initialized)) {
        com.uninitialize();
    }
    return step;
}

}  // namespace lumora
