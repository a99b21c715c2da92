// What the stand-in HTML Help control records of the calls it receives.
#pragma once

#include <windows.h>

struct HelpStandInCall {
    int count;
    HWND caller;
    wchar_t address[1024];
    UINT command;
    DWORD_PTR data;
};

// Exported as "StandInLastCall".
using HelpStandInLastCall = const HelpStandInCall*(__cdecl*)();
