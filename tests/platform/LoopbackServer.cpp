#include "tests/platform/LoopbackServer.h"

#include <utility>

namespace lumora::test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Every wait of the server is short, so that it notices when to stop.
Deadline Soon(milliseconds span = milliseconds(50)) {
    return Clock::now() + span;
}

}  // namespace

LoopbackServer::LoopbackServer(ServerScript script, std::uint16_t port)
    : script_(std::move(script)), listener_(port), thread_([this] { Serve(); }) {}

LoopbackServer::~LoopbackServer() {
    stop_ = true;  // thread_, the last member, is joined first on the way out
}

std::string LoopbackServer::Request() const {
    const TestLock lock(mutex_);
    return request_;
}

void LoopbackServer::Serve() {
    std::intptr_t accepted = -1;
    while (accepted == -1 && !Stopping()) {
        accepted = listener_.Accept(Soon());
    }
    if (accepted == -1) {
        return;
    }
    TcpConnection connection(accepted);

    // The request head, up to its empty line (a GET has no body).
    std::string head;
    char buffer[4096];
    const Deadline headBy = Soon(milliseconds(5000));
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536 && !Stopping() &&
           Clock::now() < headBy) {
        const std::ptrdiff_t count = connection.Receive(buffer, sizeof(buffer), Soon());
        if (count == 0) {
            break;
        }
        if (count > 0) {
            head.append(buffer, static_cast<std::size_t>(count));
            const TestLock lock(mutex_);
            request_ = head;
        }
    }

    for (std::size_t i = 0; i < script_.parts.size() && !Stopping(); ++i) {
        if (i > 0) {
            SleepFor(script_.pause);
        }
        const std::string& part = script_.parts[i];
        if (!connection.SendAll(part.data(), part.size(), Soon(milliseconds(10000)))) {
            return;
        }
    }
    while (script_.then != ServerScript::Then::Close && !Stopping()) {
        if (script_.then == ServerScript::Then::Trickle) {
            SleepFor(milliseconds(20));
            if (!connection.SendAll(script_.trickle.data(), script_.trickle.size(), Soon())) {
                return;
            }
        } else {
            const std::ptrdiff_t count = connection.Receive(buffer, sizeof(buffer), Soon());
            if (count == 0) {
                return;  // the client has gone
            }
            if (count < 0) {
                SleepFor(milliseconds(10));  // a reset fails at once
            }
        }
    }
}

}  // namespace lumora::test
