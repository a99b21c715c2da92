// Where the Windows tests run: under Wine or on Windows itself. A test that
// relies on a Wine gap or on Wine's own settings runs only under Wine; on
// Windows it gives way to checks of the host, or skips saying why.
#pragma once

namespace lumora::test {

// True when ntdll exports wine_get_version (asked at run time): the tests
// run under Wine. Always false natively.
bool RunningUnderWine();

}  // namespace lumora::test
