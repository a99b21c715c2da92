// Where the Windows tests run: under Wine or on Windows itself. A test that
// relies on a Wine gap or on Wine's own settings runs only under Wine; on
// Windows it gives way to checks of the host, or skips saying why.
#pragma once

namespace lumora::test {

// Wine's version ("8.0") when ntdll exports wine_get_version (asked at run
// time), else null: on Windows, and always natively.
const char* WineVersion();

// True when the tests run under Wine.
bool RunningUnderWine();

}  // namespace lumora::test
