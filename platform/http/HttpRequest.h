// The bytes of a plain HTTP/1.1 GET request.
#pragma once

#include <cstdint>
#include <string>

namespace lumora {

// "GET <target> HTTP/1.1", then the fields Host (with ":<port>" only when
// the port is not 80), Accept, Accept-Encoding "identity" and User-Agent in
// that order, then the empty line. |target| is the path with its query.
// Empty when a part would break the request's lines: an empty host, a target
// that does not start with '/', a space in either, or a control character in
// any part.
std::string BuildGetRequest(const std::string& host, std::uint16_t port, const std::string& target,
                            const std::string& userAgent);

}  // namespace lumora
