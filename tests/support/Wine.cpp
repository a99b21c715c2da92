#include "tests/support/Wine.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace lumora::test {

const char* WineVersion() {
#if defined(_WIN32)
    using WineGetVersion = const char*(CDECL*)();
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto get = reinterpret_cast<WineGetVersion>(reinterpret_cast<void*>(
        ntdll != nullptr ? GetProcAddress(ntdll, "wine_get_version") : nullptr));
    return get != nullptr ? get() : nullptr;
#else
    return nullptr;
#endif
}

bool RunningUnderWine() {
    // Always false natively, which is what a native build asks.
    // cppcheck-suppress knownConditionTrueFalse
    return WineVersion() != nullptr;
}

}  // namespace lumora::test
