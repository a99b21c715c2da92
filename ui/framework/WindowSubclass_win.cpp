#include "ui/framework/WindowSubclass.h"

#include "common/SystemLibrary.h"

namespace lumora {

namespace {

using SetSubclass = BOOL(WINAPI*)(HWND, SubclassProcedure, UINT_PTR, DWORD_PTR);
using RemoveSubclassCall = BOOL(WINAPI*)(HWND, SubclassProcedure, UINT_PTR);
using DefSubclass = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);

// SetWindowSubclass, RemoveWindowSubclass and DefSubclassProc.
struct SubclassCalls {
    SetSubclass set = nullptr;
    RemoveSubclassCall remove = nullptr;
    DefSubclass pass = nullptr;
};

const SubclassCalls& Calls() {
    static const SubclassCalls calls = [] {
        SubclassCalls bound;
        // The copy the import table or the manifest brought in; else the
        // system folder's, never one that a bare name might find first.
        HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
        if (comctl == nullptr) {
            comctl = LoadSystemLibrary(L"comctl32.dll");
        }
        bound.set = ProcAddress<SetSubclass>(comctl, MAKEINTRESOURCEA(410));
        bound.remove = ProcAddress<RemoveSubclassCall>(comctl, MAKEINTRESOURCEA(412));
        bound.pass = ProcAddress<DefSubclass>(comctl, MAKEINTRESOURCEA(413));
        if (bound.set == nullptr || bound.remove == nullptr || bound.pass == nullptr) {
            bound = SubclassCalls{};
        }
        return bound;
    }();
    return calls;
}

}  // namespace

bool SubclassWindow(HWND window, SubclassProcedure procedure, DWORD_PTR data) {
    const SubclassCalls& calls = Calls();
    return window != nullptr && calls.set != nullptr && calls.set(window, procedure, 0, data);
}

void RemoveSubclass(HWND window, SubclassProcedure procedure) {
    const SubclassCalls& calls = Calls();
    if (window != nullptr && calls.remove != nullptr) {
        calls.remove(window, procedure, 0);
    }
}

LRESULT DefaultSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const SubclassCalls& calls = Calls();
    return calls.pass != nullptr ? calls.pass(window, message, wParam, lParam)
                                 : DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace lumora
