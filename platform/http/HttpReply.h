// Reading the reply to an HTTP GET request: interim replies, the status line
// and header fields, and the body by its framing (Content-Length, chunked
// transfer coding, or until the server closes the connection).
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace lumora {

// Where the bytes of a reply come from: a connection, or a buffer.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Up to |capacity| (> 0) bytes; 0 at the end of the stream, -1 on
    // failure or time-out.
    virtual std::ptrdiff_t Read(char* buffer, std::size_t capacity) = 0;
};

// What one reply may make the program hold. A reply that goes past any of
// them is a failed request.
struct ReplyLimits {
    // All header lines of the exchange together: the status lines and fields
    // of interim replies and of the final reply, and the trailer fields of a
    // chunked body. Line endings count.
    std::size_t maxHeaderBytes = 32 * 1024;
    std::size_t maxHeaderLines = 200;
    // Interim (1xx) replies skipped before the final one.
    int maxInterimReplies = 8;
    // The body, after any chunked coding is removed.
    std::size_t maxBodyBytes = 1024 * 1024;
    // One chunk-size line, extensions included.
    std::size_t maxChunkLineBytes = 4096;
};

// The body of an accepted reply, with the Content-Type that says how to
// read it ("" when the reply has none).
struct HttpBody {
    std::string contentType;
    std::string bytes;
};

// Reads the reply to a GET request from |source|. Interim replies (1xx other
// than 101) are skipped. Only a 2xx reply is accepted, and no reply that
// carries a Location field, except 201: redirects are not followed. Its body
// is read completely by its framing. Empty for a refused status, a malformed
// or truncated reply, a content or transfer coding other than identity and
// chunked, a reply past |limits|, or a failed read.
std::optional<HttpBody> ReadHttpReply(ByteSource& source, const ReplyLimits& limits);

}  // namespace lumora
