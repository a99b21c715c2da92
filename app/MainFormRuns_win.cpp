// The message box numbers of MainFormRuns.h, which the portable runs name
// without <windows.h>, are Windows' own.
#include <windows.h>

#include "app/MainFormRuns.h"

namespace lumora {

static_assert(kIdOk == IDOK && kIdYes == IDYES, "message box answers");
static_assert(kRestartQuestionFlags == (MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2),
              "the restart question");
static_assert(kRestoreQuestionFlags == (MB_OKCANCEL | MB_ICONWARNING), "the restore question");

}  // namespace lumora
