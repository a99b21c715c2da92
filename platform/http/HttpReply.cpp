#include "platform/http/HttpReply.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/http/HttpSyntax.h"

namespace lumora {
namespace {

using http::AsciiLower;
using http::IsSpace;
using http::Lower;
using http::Trim;

// Buffered reading from a ByteSource. Nothing is read ahead beyond one
// buffer, and nothing is reserved from what the reply announces.
class Reader {
  public:
    explicit Reader(ByteSource& source) : source_(source) {}

    // One line ending in LF, of at most |maxBytes| bytes with its ending,
    // without the LF and one CR before it. |used| gets the bytes consumed.
    bool ReadLine(std::string& line, std::size_t maxBytes, std::size_t& used) {
        line.clear();
        used = 0;
        for (;;) {
            if (begin_ == end_ && !Fill()) {
                return false;
            }
            const char* start = buffer_ + begin_;
            const std::size_t available = end_ - begin_;
            const char* lf = std::find(start, start + available, '\n');
            const std::size_t take =
                static_cast<std::size_t>(lf - start) + (lf != start + available);
            if (take > maxBytes - used) {
                return false;
            }
            line.append(start, take);
            used += take;
            begin_ += take;
            if (line.back() == '\n') {
                line.pop_back();
                if (!line.empty() && line.back() == '\r') {
                    line.pop_back();
                }
                return true;
            }
        }
    }

    // Appends exactly |count| bytes to |out|; false if the stream ends first.
    bool ReadExact(std::size_t count, std::string& out) {
        while (count > 0) {
            if (begin_ == end_ && !Fill()) {
                return false;
            }
            const std::size_t take = std::min(count, end_ - begin_);
            out.append(buffer_ + begin_, take);
            begin_ += take;
            count -= take;
        }
        return true;
    }

    // Appends everything up to the end of the stream to |out|; false on a
    // failed read, or when |out| would grow past |maxSize|.
    bool ReadToEnd(std::string& out, std::size_t maxSize) {
        for (;;) {
            if (begin_ == end_ && !Fill()) {
                return ended_;
            }
            const std::size_t take = end_ - begin_;
            if (take > maxSize - std::min(maxSize, out.size())) {
                return false;
            }
            out.append(buffer_ + begin_, take);
            begin_ = end_;
        }
    }

  private:
    bool Fill() {
        if (ended_ || failed_) {
            return false;
        }
        const std::ptrdiff_t count = source_.Read(buffer_, sizeof(buffer_));
        if (count == 0) {
            ended_ = true;
        } else if (count < 0 || static_cast<std::size_t>(count) > sizeof(buffer_)) {
            failed_ = true;
        } else {
            begin_ = 0;
            end_ = static_cast<std::size_t>(count);
        }
        return begin_ != end_;
    }

    ByteSource& source_;
    char buffer_[4096] = {};
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool ended_ = false;
    bool failed_ = false;
};

// What is left of the header caps of one exchange.
struct HeaderBudget {
    std::size_t bytes;
    std::size_t lines;
};

// Header fields with lower-case names, in the order received.
using Fields = std::vector<std::pair<std::string, std::string>>;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A field name is an HTTP token.
bool IsTokenChar(char c) {
    static const std::string kSymbols = "!#$%&'*+-.^_`|~";
    return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           kSymbols.find(c) != std::string::npos;
}

// One header line within the budget. A CR or NUL left inside the line makes
// it malformed.
bool ReadHeaderLine(Reader& reader, HeaderBudget& budget, std::string& line) {
    std::size_t used = 0;
    if (budget.lines == 0 || !reader.ReadLine(line, budget.bytes, used)) {
        return false;
    }
    budget.bytes -= used;
    --budget.lines;
    return line.find('\r') == std::string::npos && line.find('\0') == std::string::npos;
}

// Header fields up to the empty line. A line that starts with white space
// continues the field before it (obsolete line folding).
bool ReadFields(Reader& reader, HeaderBudget& budget, Fields& fields) {
    fields.clear();
    std::string line;
    for (;;) {
        if (!ReadHeaderLine(reader, budget, line)) {
            return false;
        }
        if (line.empty()) {
            return true;
        }
        if (IsSpace(line[0])) {
            if (fields.empty()) {
                return false;
            }
            fields.back().second = Trim(fields.back().second + ' ' + Trim(line));
            continue;
        }
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos || colon == 0 ||
            !std::all_of(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(colon),
                         IsTokenChar)) {
            return false;
        }
        fields.emplace_back(Lower(line.substr(0, colon)), Trim(line.substr(colon + 1)));
    }
}

// The status code of "HTTP/1.<digit> <3 digits>[ <reason>]", or -1.
int ParseStatusLine(const std::string& line) {
    if (line.size() < 12 || line.compare(0, 7, "HTTP/1.") != 0 || !IsDigit(line[7]) ||
        line[8] != ' ' || line[9] < '1' || line[9] > '5' || !IsDigit(line[10]) ||
        !IsDigit(line[11]) || (line.size() > 12 && line[12] != ' ')) {
        return -1;
    }
    return (line[9] - '0') * 100 + (line[10] - '0') * 10 + (line[11] - '0');
}

bool Has(const Fields& fields, const std::string& name) {
    return std::any_of(fields.begin(), fields.end(),
                       [&](const auto& field) { return field.first == name; });
}

// The value of the last field called |name|, or "".
std::string LastValue(const Fields& fields, const std::string& name) {
    std::string value;
    for (const auto& field : fields) {
        if (field.first == name) {
            value = field.second;
        }
    }
    return value;
}

// The non-empty elements of all comma-separated fields called |name|.
std::vector<std::string> ListElements(const Fields& fields, const std::string& name) {
    std::vector<std::string> elements;
    for (const auto& field : fields) {
        if (field.first != name) {
            continue;
        }
        std::size_t start = 0;
        while (start <= field.second.size()) {
            std::size_t comma = field.second.find(',', start);
            if (comma == std::string::npos) {
                comma = field.second.size();
            }
            std::string element = Trim(field.second.substr(start, comma - start));
            if (!element.empty()) {
                elements.push_back(std::move(element));
            }
            start = comma + 1;
        }
    }
    return elements;
}

// Decimal digits only, with no overflow.
bool ParseDecimal(const std::string& text, std::uint64_t& value) {
    value = 0;
    if (text.empty()) {
        return false;
    }
    for (const char c : text) {
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (!IsDigit(c) || value > (UINT64_MAX - digit) / 10) {
            return false;
        }
        value = value * 10 + digit;
    }
    return true;
}

enum class Framing { Length, Chunked, UntilClose, Invalid };

// How the body is delimited. Chunked coding wins over a Content-Length;
// Content-Length values must all be valid and agree.
Framing FramingOf(const Fields& fields, std::uint64_t& length) {
    const std::vector<std::string> codings = ListElements(fields, "transfer-encoding");
    if (!codings.empty()) {
        return codings.size() == 1 && Lower(codings[0]) == "chunked" ? Framing::Chunked
                                                                     : Framing::Invalid;
    }
    if (!Has(fields, "content-length")) {
        return Framing::UntilClose;
    }
    const std::vector<std::string> lengths = ListElements(fields, "content-length");
    if (lengths.empty()) {
        return Framing::Invalid;
    }
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        std::uint64_t value = 0;
        if (!ParseDecimal(lengths[i], value) || (i > 0 && value != length)) {
            return Framing::Invalid;
        }
        length = value;
    }
    return Framing::Length;
}

// The size on a chunk-size line: hex digits, then optional white space and
// extensions after ';', which are ignored. False for anything else, and for
// a size over |maxSize|.
bool ParseChunkSize(const std::string& line, std::size_t maxSize, std::size_t& size) {
    size = 0;
    std::size_t i = 0;
    for (; i < line.size(); ++i) {
        const char c = AsciiLower(line[i]);
        std::size_t digit = 0;
        if (IsDigit(c)) {
            digit = static_cast<std::size_t>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<std::size_t>(c - 'a') + 10;
        } else {
            break;
        }
        if (digit > maxSize || size > (maxSize - digit) / 16) {
            return false;
        }
        size = size * 16 + digit;
    }
    if (i == 0) {
        return false;
    }
    while (i < line.size() && IsSpace(line[i])) {
        ++i;
    }
    return i == line.size() || line[i] == ';';
}

bool ReadChunkedBody(Reader& reader, HeaderBudget& budget, const ReplyLimits& limits,
                     std::string& body) {
    std::string line;
    std::size_t used = 0;
    for (;;) {
        std::size_t size = 0;
        if (!reader.ReadLine(line, limits.maxChunkLineBytes, used) ||
            !ParseChunkSize(line, limits.maxBodyBytes - body.size(), size)) {
            return false;
        }
        if (size == 0) {
            Fields trailers;
            return ReadFields(reader, budget, trailers);
        }
        // The chunk's data, then its own line ending and nothing else.
        if (!reader.ReadExact(size, body) || !reader.ReadLine(line, 2, used) || !line.empty()) {
            return false;
        }
    }
}

}  // namespace

std::optional<HttpBody> ReadHttpReply(ByteSource& source, const ReplyLimits& limits) {
    Reader reader(source);
    HeaderBudget budget{limits.maxHeaderBytes, limits.maxHeaderLines};
    Fields fields;
    int status = 0;
    for (int interim = 0;; ++interim) {
        std::string line;
        if (!ReadHeaderLine(reader, budget, line)) {
            return std::nullopt;
        }
        status = ParseStatusLine(line);
        if (status < 0 || !ReadFields(reader, budget, fields)) {
            return std::nullopt;
        }
        if (status >= 200) {
            break;
        }
        // 101 would switch to another protocol, which was not asked for.
        if (status == 101 || interim >= limits.maxInterimReplies) {
            return std::nullopt;
        }
    }
    if (status > 299 || (status != 201 && Has(fields, "location"))) {
        return std::nullopt;
    }
    const std::vector<std::string> codings = ListElements(fields, "content-encoding");
    if (std::any_of(codings.begin(), codings.end(),
                    [](const std::string& coding) { return Lower(coding) != "identity"; })) {
        return std::nullopt;
    }

    HttpBody body;
    body.contentType = LastValue(fields, "content-type");
    if (status == 204) {
        return body;
    }
    std::uint64_t length = 0;
    switch (FramingOf(fields, length)) {
        case Framing::Length:
            if (length > limits.maxBodyBytes ||
                !reader.ReadExact(static_cast<std::size_t>(length), body.bytes)) {
                return std::nullopt;
            }
            return body;
        case Framing::Chunked:
            if (!ReadChunkedBody(reader, budget, limits, body.bytes)) {
                return std::nullopt;
            }
            return body;
        case Framing::UntilClose:
            if (!reader.ReadToEnd(body.bytes, limits.maxBodyBytes)) {
                return std::nullopt;
            }
            return body;
        case Framing::Invalid:
            break;
    }
    return std::nullopt;
}

}  // namespace lumora
