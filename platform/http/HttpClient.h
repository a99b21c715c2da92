// A minimal HTTP/1.1 client for one plain GET request: IPv4, no proxy, no
// redirects, no credentials, and a time limit on the whole exchange.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/http/HttpReply.h"

namespace lumora {

struct HttpLimits {
    // For each connection attempt, within the whole.
    std::chrono::milliseconds connectTime{5000};
    // From the start of the request to the last byte of the reply. Only the
    // system's name resolution cannot be cut short.
    std::chrono::milliseconds totalTime{10000};
    ReplyLimits reply;
};

// GET |target| (path and query) from |host| at |port|: the body of an
// accepted reply (see ReadHttpReply) decoded to text, or empty when the
// request failed in any way. The addresses of |host| are tried in turn
// until one accepts the connection.
std::optional<std::u16string> HttpGetText(const std::string& host, std::uint16_t port,
                                          const std::string& target, const std::string& userAgent,
                                          const HttpLimits& limits);

}  // namespace lumora
