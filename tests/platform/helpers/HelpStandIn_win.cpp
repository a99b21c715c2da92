// A stand-in for the HTML Help control: the entries the program looks up,
// recording their calls. Built twice, once without HtmlHelpA.
#include "tests/platform/helpers/HelpStandIn.h"

#include <cwchar>

namespace {
HelpStandInCall g_last = {};
}

extern "C" {

__declspec(dllexport) HWND WINAPI
    HtmlHelpW(HWND caller, const wchar_t* file, UINT command, DWORD_PTR data) {
    ++g_last.count;
    g_last.caller = caller;
    g_last.address[0] = L'\0';
    if (file != nullptr) {
        wcsncpy(g_last.address, file, 1023);
        g_last.address[1023] = L'\0';
    }
    g_last.command = command;
    g_last.data = data;
    return nullptr;
}

#ifndef HELP_STAND_IN_WIDE_ONLY
__declspec(dllexport) HWND WINAPI HtmlHelpA(HWND, const char*, UINT, DWORD_PTR) {
    return nullptr;
}
#endif

__declspec(dllexport) const HelpStandInCall* __cdecl StandInLastCall() {
    return &g_last;
}

}  // extern "C"
