// Asks the maker's update server whether a newer version exists.
#pragma once

#include <cstdint>
#include <string>

#include "platform/http/HttpClient.h"

namespace lumora {

// 0, 1 or 2 by the marker in the server's reply, -1 for none or a failed
// request; 1 means that a newer version is available. Blocks until the reply
// is read or the request failed; never raises.
int CheckForUpdate();

// The same check against |host| at |port| within |limits|. CheckForUpdate
// asks the configured update server with the default limits.
int CheckForUpdateAt(const std::string& host, std::uint16_t port, const HttpLimits& limits);

// The result code for a reply text: 0 if it contains "OSTREL|0" anywhere,
// otherwise 1 for "OSTREL|1", otherwise 2 for "OSTREL|2", otherwise -1.
// The search is exact and case-sensitive.
int UpdateResultFromReply(const std::u16string& text);

}  // namespace lumora
