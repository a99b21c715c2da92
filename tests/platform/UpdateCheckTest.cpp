// The update check end to end against a scripted server on 127.0.0.1: the
// client, the socket layer of this build (POSIX natively, Winsock under
// Wine) and the marker search together.
#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <optional>
#include <string>

#include "platform/UpdateCheck.h"
#include "tests/platform/LoopbackListener.h"
#include "tests/platform/LoopbackServer.h"

namespace lumora {
namespace {

using test::LoopbackServer;
using test::ServerScript;
using Then = ServerScript::Then;
using std::chrono::milliseconds;

constexpr char kLoopback[] = "127.0.0.1";

// For the servers that never finish: a short whole-exchange limit.
HttpLimits ShortLimits() {
    HttpLimits limits;
    limits.connectTime = milliseconds(2000);
    limits.totalTime = milliseconds(1500);
    return limits;
}

// Runs one check and prints how long it took.
int TimedCheck(const std::string& host, std::uint16_t port, const HttpLimits& limits,
               const std::string& what) {
    const auto start = std::chrono::steady_clock::now();
    const int result = CheckForUpdateAt(host, port, limits);
    const auto spent =
        std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - start);
    std::cout << "  " << what << ": " << result << " after " << spent.count() << " ms\n";
    return result;
}

std::string Reply(const std::string& statusLine, const std::string& body,
                  const std::string& fields = "") {
    return statusLine + "\r\n" + fields + "Content-Length: " + std::to_string(body.size()) +
           "\r\n\r\n" + body;
}

TEST(UpdateCheck, SendsTheFixedRequestAndReadsTheMarker) {
    LoopbackServer server({{Reply("HTTP/1.1 200 OK", "OSTREL|1")}, {}, Then::Hold, ""});
    ASSERT_NE(server.Port(), 0);
    EXPECT_EQ(TimedCheck(kLoopback, server.Port(), HttpLimits{}, "request"), 1);
    EXPECT_EQ(server.Request(),
              "GET /downloads/update/?product=lumora&version=2.9.5.2016 HTTP/1.1\r\n"
              "Host: 127.0.0.1:" +
                  std::to_string(server.Port()) +
                  "\r\n"
                  "Accept: text/html, */*\r\n"
                  "Accept-Encoding: identity\r\n"
                  "User-Agent: Mozilla/4.0 (compatible; OSTREL)\r\n"
                  "\r\n");
}

struct ServerCase {
    const char* what;
    ServerScript script;
    int result;
    bool neverFinishes = false;  // ended by the time limit: run with ShortLimits
};

const std::string kChunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
const std::string kPage = "<html><head><title>Update</title></head>\n<body><p>OSTREL|2</p></body>";

const ServerCase kServerCases[] = {
    {"marker between blank lines",
     {{Reply("HTTP/1.1 200 OK", "\r\n\r\nOSTREL|1\r\n\r\n")}, {}, Then::Close, ""},
     1},
    {"marker in a page, until close",
     {{"HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n", kPage}, milliseconds(30)},
     2},
    {"several markers", {{Reply("HTTP/1.1 200 OK", "OSTREL|2 OSTREL|1 OSTREL|0")}}, 0},
    {"more digits after the marker", {{Reply("HTTP/1.1 200 OK", "OSTREL|10")}}, 1},
    {"wrong letter case", {{Reply("HTTP/1.1 200 OK", "ostrel|1 Ostrel|0")}}, -1},
    {"no marker", {{Reply("HTTP/1.1 200 OK", "up to date")}}, -1},
    {"empty body", {{Reply("HTTP/1.1 200 OK", "")}}, -1},
    {"100 then 200",
     {{"HTTP/1.1 100 Continue\r\n\r\n", Reply("HTTP/1.1 200 OK", "OSTREL|1")}, milliseconds(50)},
     1},
    {"chunked with extensions and trailers, marker split",
     {{kChunked + "4;a=b\r\nOSTR\r\n", "4\r\nEL|0\r\n0\r\nX-Checksum: 1\r\n\r\n"},
      milliseconds(30),
      Then::Hold},
     0},
    {"utf-16 text",
     {{Reply("HTTP/1.1 200 OK",
             std::string("O\0S\0T\0R\0E\0L\0|\0"
                         "1\0",
                         16),
             "Content-Type: text/plain; charset=utf-16le\r\n")}},
     1},
    {"301", {{Reply("HTTP/1.1 301 Moved Permanently", "OSTREL|1", "Location: /x\r\n")}}, -1},
    {"302", {{Reply("HTTP/1.1 302 Found", "OSTREL|1", "Location: /x\r\n")}}, -1},
    {"304", {{"HTTP/1.1 304 Not Modified\r\n\r\n"}}, -1},
    {"404 with a marker", {{Reply("HTTP/1.1 404 Not Found", "OSTREL|1")}}, -1},
    {"500 with a marker", {{Reply("HTTP/1.1 500 Internal Server Error", "OSTREL|1")}}, -1},
    {"malformed chunk size", {{kChunked + "0x8\r\nOSTREL|1\r\n0\r\n\r\n"}}, -1},
    {"truncated length body",
     {{"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nOSTREL|1"}, {}, Then::Close},
     -1},
    {"oversized header",
     {{"HTTP/1.1 200 OK\r\nX-Big: " + std::string(40000, 'h') + "\r\n\r\nOSTREL|1"}},
     -1},
    {"oversized body until close",
     {{"HTTP/1.1 200 OK\r\n\r\nOSTREL|1", std::string(2 * 1024 * 1024, 'b')}},
     -1},
    {"oversized length", {{"HTTP/1.1 200 OK\r\nContent-Length: 2000000\r\n\r\nOSTREL|1"}}, -1},
    // Ended only by the time limit.
    {"accepts and never answers", {{}, {}, Then::Hold}, -1, true},
    {"length body stalls",
     {{"HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nOSTREL|1"}, {}, Then::Hold},
     -1,
     true},
    {"chunked body stalls", {{kChunked + "8\r\nOSTREL|1\r\n"}, {}, Then::Hold}, -1, true},
    {"stream ends after 100", {{"HTTP/1.1 100 Continue\r\n\r\n"}, {}, Then::Close}, -1},
    {"body that never ends",
     {{"HTTP/1.1 200 OK\r\n\r\nOSTREL|1"}, {}, Then::Trickle, "x"},
     -1,
     true},
    {"header that never ends, a line at a time",
     {{"HTTP/1.1 200 OK\r\n"}, {}, Then::Trickle, "X-Slow: 1\r\n"},
     -1,
     true},
};

TEST(UpdateCheck, EachServerReplyEndsInItsResult) {
    for (const ServerCase& c : kServerCases) {
        SCOPED_TRACE(c.what);
        LoopbackServer server(c.script);
        ASSERT_NE(server.Port(), 0);
        const HttpLimits limits = c.neverFinishes ? ShortLimits() : HttpLimits{};
        EXPECT_EQ(TimedCheck(kLoopback, server.Port(), limits, c.what), c.result);
        EXPECT_NE(server.Request(), "");
    }
}

TEST(UpdateCheck, RedirectIsNotFollowed) {
    LoopbackServer target({{Reply("HTTP/1.1 200 OK", "OSTREL|1")}});
    const std::string location =
        "Location: http://127.0.0.1:" + std::to_string(target.Port()) + "/downloads/update/\r\n";
    LoopbackServer redirect({{Reply("HTTP/1.1 302 Found", "", location)}});
    EXPECT_EQ(TimedCheck(kLoopback, redirect.Port(), HttpLimits{}, "redirect"), -1);
    EXPECT_EQ(target.Request(), "");
}

TEST(UpdateCheck, NoServerMeansMinusOne) {
    std::uint16_t closedPort = 0;
    {
        test::LoopbackListener listener;
        closedPort = listener.Port();
    }
    ASSERT_NE(closedPort, 0);
    EXPECT_EQ(TimedCheck(kLoopback, closedPort, ShortLimits(), "refused"), -1);
    // ".invalid" names never resolve.
    EXPECT_EQ(TimedCheck("update.lumora-test.invalid", 80, ShortLimits(), "unresolvable"), -1);
}

}  // namespace
}  // namespace lumora
