// The "/checkupdate" mode: asks the update server and, when a newer version
// exists, closes a running instance and offers to start the updater.
#pragma once

namespace lumora {

void RunUpdateCheckMode();

}  // namespace lumora
