#include "platform/http/HttpClient.h"

#include <algorithm>

#include "platform/http/HttpRequest.h"
#include "platform/http/HttpText.h"
#include "platform/http/Socket.h"

namespace lumora {
namespace {

// The reply as it arrives on a connection, up to the deadline.
class ConnectionSource : public ByteSource {
  public:
    ConnectionSource(TcpConnection& connection, Deadline deadline)
        : connection_(connection), deadline_(deadline) {}
    std::ptrdiff_t Read(char* buffer, std::size_t capacity) override {
        return connection_.Receive(buffer, capacity, deadline_);
    }

  private:
    TcpConnection& connection_;
    Deadline deadline_;
};

}  // namespace

std::optional<std::u16string> HttpGetText(const std::string& host, std::uint16_t port,
                                          const std::string& target, const std::string& userAgent,
                                          const HttpLimits& limits) {
    const Deadline deadline = std::chrono::steady_clock::now() + limits.totalTime;
    const std::string request = BuildGetRequest(host, port, target, userAgent);
    if (request.empty()) {
        return std::nullopt;
    }
    for (const std::uint32_t address : ResolveIPv4(host)) {
        TcpConnection connection;
        const Deadline connectBy =
            std::min(deadline, std::chrono::steady_clock::now() + limits.connectTime);
        if (!connection.Connect(address, port, connectBy)) {
            continue;
        }
        if (!connection.SendAll(request.data(), request.size(), deadline)) {
            return std::nullopt;
        }
        ConnectionSource source(connection, deadline);
        const std::optional<HttpBody> body = ReadHttpReply(source, limits.reply);
        if (!body) {
            return std::nullopt;
        }
        return DecodeHttpText(body->bytes, body->contentType);
    }
    return std::nullopt;
}

}  // namespace lumora
