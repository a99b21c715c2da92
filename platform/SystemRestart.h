// Restarting Windows so that tuned settings take effect.
#pragma once

namespace lumora {

// Switches the shutdown privilege in the program's own access token on or
// off. Silent on every failure.
void SetShutdownPrivilege(bool enable);

// Asks Windows to restart at once, closing running programs by force, and
// returns once the request is handed over. The shutdown privilege is held
// only around the request.
void RestartWindows();

// The call that hands the request to Windows (ExitWindowsEx with its flags
// and reason). Tests put a recorder in its place: a real request would end
// the test run. Returns the call it replaced.
using RestartRequest = bool (*)(unsigned int flags, unsigned long reason);
RestartRequest ReplaceRestartRequest(RestartRequest request);

}  // namespace lumora
