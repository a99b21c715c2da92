// Asks the maker's update server whether a newer version exists.
#pragma once

namespace lumora {

// 0, 1 or 2 by the marker in the server's reply, -1 for none or a failed
// request; 1 means that a newer version is available. Blocks until the reply
// is read or the request failed; never raises.
int CheckForUpdate();

}  // namespace lumora
