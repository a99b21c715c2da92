// The update check's parts that need no network: the request bytes, reading
// a reply from a byte stream, decoding its text, and the marker search.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "platform/UpdateCheck.h"
#include "platform/http/HttpReply.h"
#include "platform/http/HttpRequest.h"
#include "platform/http/HttpText.h"

namespace lumora {
namespace {

TEST(BuildGetRequest, FieldsInOrderAndPortOnlyWhenNot80) {
    EXPECT_EQ(BuildGetRequest("update.example", 80, "/a/?b=c&d=1", "Agent/1 (x; y)"),
              "GET /a/?b=c&d=1 HTTP/1.1\r\n"
              "Host: update.example\r\n"
              "Accept: text/html, */*\r\n"
              "Accept-Encoding: identity\r\n"
              "User-Agent: Agent/1 (x; y)\r\n"
              "\r\n");
    const std::string request = BuildGetRequest("127.0.0.1", 8080, "/", "A");
    EXPECT_EQ(request.substr(0, request.find("Accept:")),
              "GET / HTTP/1.1\r\nHost: 127.0.0.1:8080\r\n");
}

TEST(BuildGetRequest, RefusesPartsThatWouldBreakItsLines) {
    EXPECT_EQ(BuildGetRequest("", 80, "/", "A"), "");
    EXPECT_EQ(BuildGetRequest("a b", 80, "/", "A"), "");
    EXPECT_EQ(BuildGetRequest("a\r\nX-Evil: 1", 80, "/", "A"), "");
    EXPECT_EQ(BuildGetRequest("a", 80, "nopath", "A"), "");
    EXPECT_EQ(BuildGetRequest("a", 80, "/x HTTP/1.0\r\n", "A"), "");
    EXPECT_EQ(BuildGetRequest("a", 80, "/", std::string("A\0B", 3)), "");
}

// A reply held in memory, handed out |step| bytes at a time; at its end the
// stream closes, or fails as a connection does at its deadline.
class MemorySource : public ByteSource {
  public:
    MemorySource(std::string bytes, std::size_t step, bool failAtEnd)
        : bytes_(std::move(bytes)), step_(step), failAtEnd_(failAtEnd) {}
    std::ptrdiff_t Read(char* buffer, std::size_t capacity) override {
        const std::size_t count = std::min({step_, capacity, bytes_.size() - at_});
        if (count == 0) {
            return failAtEnd_ ? -1 : 0;
        }
        std::copy_n(bytes_.data() + at_, count, buffer);
        at_ += count;
        return static_cast<std::ptrdiff_t>(count);
    }

  private:
    std::string bytes_;
    std::size_t step_;
    bool failAtEnd_;
    std::size_t at_ = 0;
};

// Small caps, so that the cases can reach them.
ReplyLimits SmallLimits() {
    ReplyLimits limits;
    limits.maxHeaderBytes = 256;
    limits.maxHeaderLines = 10;
    limits.maxInterimReplies = 2;
    limits.maxBodyBytes = 64;
    limits.maxChunkLineBytes = 32;
    return limits;
}

const std::string k200 = "HTTP/1.1 200 OK\r\n";
const std::string kChunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
const std::string k64(64, 'b');

struct ReplyCase {
    const char* what;
    std::string reply;
    std::optional<std::string> body;  // empty: the reply is refused
    bool failAtEnd = false;           // the stream fails instead of closing
};

const ReplyCase kReplyCases[] = {
    // Framing.
    {"content-length stops there", k200 + "Content-Length: 5\r\n\r\nhelloEXTRA", "hello"},
    {"bare LF line ends", "HTTP/1.1 200 OK\nContent-Length: 2\n\nhi", "hi"},
    {"no reason phrase", "HTTP/1.1 200\r\nContent-Length: 2\r\n\r\nhi", "hi"},
    {"until close, HTTP/1.0", "HTTP/1.0 200 OK\r\n\r\nabc", "abc"},
    {"until close, HTTP/1.1", k200 + "\r\nabc", "abc"},
    {"HTTP/1.0 with a length", "HTTP/1.0 200 OK\r\nContent-Length: 1\r\n\r\nabc", "a"},
    {"until close cut by a failed read", k200 + "\r\nabc", std::nullopt, true},
    {"content-length complete, then the stream stalls", k200 + "Content-Length: 3\r\n\r\nabc",
     "abc", true},
    {"equal duplicate lengths", k200 + "Content-Length: 2\r\ncontent-length: 2, 2\r\n\r\nhi", "hi"},
    {"differing duplicate lengths", k200 + "Content-Length: 2\r\nContent-Length: 3\r\n\r\nhi!",
     std::nullopt},
    {"differing lengths in one field", k200 + "Content-Length: 2, 3\r\n\r\nhi!", std::nullopt},
    {"length not a number", k200 + "Content-Length: 2a\r\n\r\nhi", std::nullopt},
    {"negative length", k200 + "Content-Length: -1\r\n\r\nhi", std::nullopt},
    {"signed length", k200 + "Content-Length: +2\r\n\r\nhi", std::nullopt},
    {"empty length", k200 + "Content-Length:\r\n\r\nhi", std::nullopt},
    {"length overflows", k200 + "Content-Length: 99999999999999999999999\r\n\r\nhi", std::nullopt},
    {"length over the body cap", k200 + "Content-Length: 65\r\n\r\n" + k64 + "b", std::nullopt},
    {"length at the body cap", k200 + "Content-Length: 64\r\n\r\n" + k64, k64},
    {"truncated length body", k200 + "Content-Length: 9\r\n\r\nabc", std::nullopt},
    {"until close over the body cap", k200 + "\r\n" + k64 + "b", std::nullopt},
    {"204 has no body", "HTTP/1.1 204 No Content\r\nContent-Length: 5\r\n\r\n", "", true},
    // Chunked coding.
    {"chunks with extensions and trailers",
     kChunked + "5;name=val\r\nhello\r\n6 ; x=\"y\"\r\n world\r\n0\r\nX-Trailer: t\r\n\r\n",
     "hello world"},
    {"hex digits in either case, leading zeros",
     kChunked + "00a\r\n0123456789\r\nB\r\n" + "abcdefghijk\r\n0\r\n\r\n", "0123456789abcdefghijk"},
    {"chunked wins over a length",
     "HTTP/1.1 200 OK\r\nContent-Length: 50\r\nTransfer-Encoding: Chunked\r\n\r\n2\r\nhi\r\n0"
     "\r\n\r\n",
     "hi"},
    {"chunked body at the cap", kChunked + "40\r\n" + k64 + "\r\n0\r\n\r\n", k64},
    {"chunked body over the cap", kChunked + "40\r\n" + k64 + "\r\n1\r\nb\r\n0\r\n\r\n",
     std::nullopt},
    {"no last chunk", kChunked + "2\r\nhi\r\n", std::nullopt},
    {"last chunk without its empty line", kChunked + "2\r\nhi\r\n0\r\n", std::nullopt},
    {"trailer cut short", kChunked + "2\r\nhi\r\n0\r\nX-T: 1\r\n", std::nullopt},
    {"chunk data longer than its size", kChunked + "2\r\nhiX\r\n0\r\n\r\n", std::nullopt},
    {"chunk data cut short", kChunked + "5\r\nhi", std::nullopt},
    {"empty chunk size", kChunked + "\r\nhi\r\n0\r\n\r\n", std::nullopt},
    {"negative chunk size", kChunked + "-2\r\nhi\r\n0\r\n\r\n", std::nullopt},
    {"signed chunk size", kChunked + "+2\r\nhi\r\n0\r\n\r\n", std::nullopt},
    {"0x chunk size", kChunked + "0x2\r\nhi\r\n0\r\n\r\n", std::nullopt},
    {"junk after chunk size", kChunked + "2x\r\nhi\r\n0\r\n\r\n", std::nullopt},
    {"space before chunk size", kChunked + " 2\r\nhi\r\n0\r\n\r\n", std::nullopt},
    {"not hex", kChunked + "g\r\nhi\r\n0\r\n\r\n", std::nullopt},
    {"chunk size overflows", kChunked + "10000000000000002\r\nhi\r\n0\r\n\r\n", std::nullopt},
    {"chunk-size line over its cap", kChunked + "2;" + std::string(40, 'e') + "\r\nhi\r\n0\r\n\r\n",
     std::nullopt},
    {"other transfer coding", k200 + "Transfer-Encoding: gzip\r\n\r\nxx", std::nullopt},
    {"chunked under another coding", k200 + "Transfer-Encoding: gzip, chunked\r\n\r\n0\r\n\r\n",
     std::nullopt},
    {"content coding", k200 + "Content-Encoding: gzip\r\nContent-Length: 2\r\n\r\nxx",
     std::nullopt},
    {"identity content coding", k200 + "Content-Encoding: identity\r\nContent-Length: 2\r\n\r\nxx",
     "xx"},
    // Status.
    {"100 then 200", "HTTP/1.1 100 Continue\r\n\r\n" + k200 + "Content-Length: 2\r\n\r\nok", "ok"},
    {"other 1xx skipped too",
     "HTTP/1.1 103 Early Hints\r\nLink: </a>\r\n\r\n" + k200 + "Content-Length: 2\r\n\r\nok", "ok"},
    {"too many interim replies",
     "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 100 Continue\r\n\r\n" +
         k200 + "Content-Length: 2\r\n\r\nok",
     std::nullopt},
    {"stream ends after 100", "HTTP/1.1 100 Continue\r\n\r\n", std::nullopt},
    {"101 not asked for", "HTTP/1.1 101 Switching Protocols\r\nUpgrade: x\r\n\r\n", std::nullopt},
    {"201 with a location", "HTTP/1.1 201 Created\r\nLocation: /x\r\nContent-Length: 2\r\n\r\nok",
     "ok"},
    {"200 with a location", k200 + "Location: /x\r\nContent-Length: 2\r\n\r\nok", std::nullopt},
    {"301", "HTTP/1.1 301 Moved\r\nLocation: /x\r\nContent-Length: 2\r\n\r\nok", std::nullopt},
    {"304", "HTTP/1.1 304 Not Modified\r\n\r\n", std::nullopt},
    {"401", "HTTP/1.1 401 Unauthorized\r\nContent-Length: 2\r\n\r\nok", std::nullopt},
    {"404", "HTTP/1.1 404 Not Found\r\nContent-Length: 2\r\n\r\nok", std::nullopt},
    {"500", "HTTP/1.1 500 Error\r\nContent-Length: 2\r\n\r\nok", std::nullopt},
    // Malformed heads.
    {"empty stream", "", std::nullopt},
    {"not HTTP", "HELLO\r\n\r\n", std::nullopt},
    {"HTTP/2", "HTTP/2 200 OK\r\n\r\nok", std::nullopt},
    {"two-digit status", "HTTP/1.1 20 OK\r\n\r\nok", std::nullopt},
    {"status out of range", "HTTP/1.1 600 OK\r\n\r\nok", std::nullopt},
    {"status run into reason", "HTTP/1.1 200OK\r\n\r\nok", std::nullopt},
    {"head cut short", k200 + "Content-Length: 2\r\n", std::nullopt},
    {"field without colon", k200 + "Content-Length 2\r\n\r\nok", std::nullopt},
    {"space in field name", k200 + "Content Length: 2\r\n\r\nok", std::nullopt},
    {"CR inside a field", k200 + "X: a\rb\r\nContent-Length: 2\r\n\r\nok", std::nullopt},
    {"folded field", k200 + "X-Long: a\r\n  b\r\nContent-Length: 2\r\n\r\nok", "ok"},
    {"fold before any field", k200 + " X: a\r\n\r\nok", std::nullopt},
    {"header over its byte cap", k200 + "X: " + std::string(240, 'h') + "\r\n\r\nok", std::nullopt},
    {"header over its line cap",
     k200 + "A: 1\r\nB: 1\r\nC: 1\r\nD: 1\r\nE: 1\r\nF: 1\r\nG: 1\r\nH: 1\r\nI: 1\r\n\r\nok",
     std::nullopt},
    {"interim replies count against the header cap",
     "HTTP/1.1 100 Continue\r\nA: 1\r\nB: 1\r\nC: 1\r\nD: 1\r\n\r\n" + k200 +
         "E: 1\r\nF: 1\r\nG: 1\r\n\r\nok",
     std::nullopt},
};

TEST(ReadHttpReply, ReadsOrRefusesEachReplyWhateverItsPacing) {
    for (const ReplyCase& c : kReplyCases) {
        for (const std::size_t step : {std::size_t{1}, std::size_t{7}, std::size_t{100000}}) {
            SCOPED_TRACE(::testing::Message() << c.what << ", " << step << " bytes a read");
            MemorySource source(c.reply, step, c.failAtEnd);
            const std::optional<HttpBody> body = ReadHttpReply(source, SmallLimits());
            ASSERT_EQ(body.has_value(), c.body.has_value());
            if (body) {
                EXPECT_EQ(body->bytes, *c.body);
            }
        }
    }
}

TEST(ReadHttpReply, KeepsTheContentTypeForDecoding) {
    MemorySource source(
        k200 + "Content-Type: text/html; charset=utf-8\r\nContent-Length: 1\r\n\r\nx", 100, false);
    const std::optional<HttpBody> body = ReadHttpReply(source, SmallLimits());
    ASSERT_TRUE(body.has_value());
    EXPECT_EQ(body->contentType, "text/html; charset=utf-8");
}

TEST(CharsetOf, FindsTheParameterInAnyForm) {
    EXPECT_EQ(CharsetOf("text/plain"), "");
    EXPECT_EQ(CharsetOf("text/plain;charset=UTF-8"), "utf-8");
    EXPECT_EQ(CharsetOf("text/plain; format=\"a;b=c\" ; Charset = \"utf-16\""), "utf-16");
    EXPECT_EQ(CharsetOf("text/plain; charset=iso-8859-1 "), "iso-8859-1");
    EXPECT_EQ(CharsetOf("text/plain; charset=\"utf\\-8\""), "utf-8");
    EXPECT_EQ(CharsetOf("text/plain; charset"), "");
}

struct DecodeCase {
    const char* what;
    const char* contentType;
    std::string bytes;
    std::u16string text;
};

const DecodeCase kDecodeCases[] = {
    {"no charset", "text/html", "OSTREL|1", u"OSTREL|1"},
    {"no content type", "", "a\xE9", u"a\u00E9"},
    {"latin-1", "text/plain; charset=ISO-8859-1", "\xE9", u"\u00E9"},
    {"unknown charset, one byte a character", "text/plain; charset=koi8-r", "A\xC1", u"A\u00C1"},
    {"utf-8 with a byte-order mark", "text/plain; charset=utf-8", "\xEF\xBB\xBF\xC3\xA9", u"é"},
    {"utf-8 outside the BMP", "text/plain; charset=utf8", "\xF0\x9F\x98\x80", u"\U0001F600"},
    {"utf-8 malformed bytes", "text/plain; charset=utf-8", "a\xFF\xC3(\xE0\x80\x80z",
     u"a\uFFFD\uFFFD(\uFFFD\uFFFD\uFFFDz"},
    {"utf-8 encoded surrogate", "text/plain; charset=utf-8", "\xED\xA0\x80!",
     u"\uFFFD\uFFFD\uFFFD!"},
    {"utf-8 sequences cut short, one U+FFFD each", "text/plain; charset=utf-8",
     "a\xE2\x82z\xF0\x9F\x98", u"a\uFFFDz\uFFFD"},
    {"utf-16le", "text/plain; charset=\"UTF-16LE\"", std::string("O\0K\0", 4), u"OK"},
    {"utf-16be", "text/plain; charset=utf-16be", std::string("\0O\0K", 4), u"OK"},
    {"utf-16 with a big-endian mark", "text/plain; charset=utf-16",
     std::string("\xFE\xFF\0O\0K", 6), u"OK"},
    {"utf-16 with a little-endian mark", "text/plain; charset=utf-16",
     std::string("\xFF\xFEO\0K\0", 6), u"OK"},
    {"utf-16 without a mark", "text/plain; charset=utf-16", std::string("O\0K\0", 4), u"OK"},
    {"utf-16 with an odd byte", "text/plain; charset=utf-16le", std::string("O\0K", 3), u"O\uFFFD"},
};

TEST(DecodeHttpText, ByTheDeclaredCharset) {
    for (const DecodeCase& c : kDecodeCases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(DecodeHttpText(c.bytes, c.contentType), c.text);
    }
}

TEST(UpdateResultFromReply, FirstMarkerInTheOrder0Then1Then2) {
    const struct {
        std::u16string text;
        int result;
    } cases[] = {
        {u"OSTREL|0", 0},
        {u"\r\n\r\nOSTREL|1\r\n\r\n", 1},
        {u"OSTREL|2", 2},
        {u"OSTREL|1 OSTREL|0", 0},
        {u"OSTREL|0OSTREL|1", 0},
        {u"OSTREL|2 OSTREL|1", 1},
        {u"OSTREL|17", 1},
        {u"<html><body><p>x OSTREL|2</p></body></html>", 2},
        {u"ostrel|1", -1},
        {u"Ostrel|0", -1},
        {u"OSTREL|3", -1},
        {u"OSTREL 1", -1},
        {u"", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UpdateResultFromReply(c.text), c.result)
            << std::string(c.text.begin(), c.text.end());
    }
}

}  // namespace
}  // namespace lumora
