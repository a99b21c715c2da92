#include "platform/UpdateCheck.h"

namespace lumora {

// Until the HTTP client is in place, no update is ever found.
int CheckForUpdate() { return -1; }

}  // namespace lumora
