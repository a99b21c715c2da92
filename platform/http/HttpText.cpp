#include "platform/http/HttpText.h"

#include <cstddef>
#include <cstdint>

#include "common/Unicode.h"
#include "platform/http/HttpSyntax.h"

namespace lumora {
namespace {

using http::IsSpace;
using http::Lower;
using http::Trim;

const std::uint8_t* BytesOf(const std::string& bytes) {
    return reinterpret_cast<const std::uint8_t*>(bytes.data());
}

bool StartsWith(const std::string& bytes, const char* prefix, std::size_t size) {
    return bytes.compare(0, size, prefix, size) == 0;
}

std::u16string Utf8Text(const std::string& bytes) {
    const std::size_t start = StartsWith(bytes, "\xEF\xBB\xBF", 3) ? 3 : 0;
    return DecodeUtf8(BytesOf(bytes) + start, bytes.size() - start);
}

// An odd last byte is a code unit cut short: it becomes U+FFFD.
std::u16string Utf16Text(const std::string& bytes, ByteOrder order) {
    const bool marked =
        StartsWith(bytes, order == ByteOrder::BigEndian ? "\xFE\xFF" : "\xFF\xFE", 2);
    const std::size_t start = marked ? 2 : 0;
    std::u16string text = DecodeUtf16(BytesOf(bytes) + start, bytes.size() - start, order);
    if ((bytes.size() - start) % 2 != 0) {
        text.push_back(kReplacementCharacter);
    }
    return text;
}

// One byte, one character of the same number.
std::u16string Latin1Text(const std::string& bytes) {
    return std::u16string(BytesOf(bytes), BytesOf(bytes) + bytes.size());
}

}  // namespace

std::string CharsetOf(const std::string& contentType) {
    // type/subtype *( ";" name "=" ( token / quoted-string ) )
    const std::size_t end = contentType.size();
    std::size_t at = contentType.find(';');
    while (at != std::string::npos) {
        const std::size_t equals = contentType.find('=', at + 1);
        const std::size_t next = contentType.find(';', at + 1);
        if (equals == std::string::npos || equals > next) {
            at = next;
            continue;
        }
        const std::string name = Lower(Trim(contentType.substr(at + 1, equals - at - 1)));
        std::string value;
        at = equals + 1;
        while (at < end && IsSpace(contentType[at])) {
            ++at;
        }
        if (at < end && contentType[at] == '"') {
            for (++at; at < end && contentType[at] != '"'; ++at) {
                if (contentType[at] == '\\' && at + 1 < end) {
                    ++at;  // a quoted pair stands for the character after the backslash
                }
                value.push_back(contentType[at]);
            }
            at = contentType.find(';', at);
        } else {
            const std::size_t stop = contentType.find(';', at);
            value = Trim(contentType.substr(at, stop == std::string::npos ? stop : stop - at));
            at = stop;
        }
        if (name == "charset") {
            return Lower(value);
        }
    }
    return "";
}

std::u16string DecodeHttpText(const std::string& bytes, const std::string& contentType) {
    const std::string charset = CharsetOf(contentType);
    if (charset == "utf-8" || charset == "utf8") {
        return Utf8Text(bytes);
    }
    if (charset == "utf-16be") {
        return Utf16Text(bytes, ByteOrder::BigEndian);
    }
    if (charset == "utf-16le") {
        return Utf16Text(bytes, ByteOrder::LittleEndian);
    }
    if (charset == "utf-16") {
        return Utf16Text(bytes, StartsWith(bytes, "\xFE\xFF", 2) ? ByteOrder::BigEndian
                                                                 : ByteOrder::LittleEndian);
    }
    return Latin1Text(bytes);
}

}  // namespace lumora
