// A scripted HTTP server on 127.0.0.1 for tests of the update check. It runs
// on a thread of its own, takes one connection, records the request head as
// it arrived, and answers from its script.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/platform/LoopbackListener.h"
#include "tests/support/TestThread.h"

namespace lumora::test {

struct ServerScript {
    // Sent in order once the request head has arrived, with |pause| before
    // each part after the first.
    std::vector<std::string> parts;
    std::chrono::milliseconds pause{0};
    // After the parts: close the connection; or keep it open, silent, until
    // the client goes away; or keep sending |trickle| every 20 ms.
    enum class Then { Close, Hold, Trickle } then = Then::Close;
    std::string trickle{};
};

class LoopbackServer {
  public:
    // Listens at |port|, or at a port the system picks when it is 0.
    explicit LoopbackServer(ServerScript script, std::uint16_t port = 0);
    // Stops serving and waits for the thread.
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    std::uint16_t Port() const { return listener_.Port(); }
    // The request head as received so far: "" when no client came.
    std::string Request() const;

  private:
    void Serve();
    bool Stopping() const { return stop_.load(); }

    ServerScript script_;
    LoopbackListener listener_;
    std::atomic<bool> stop_{false};
    mutable TestMutex mutex_;
    std::string request_;
    TestThread thread_;
};

}  // namespace lumora::test
