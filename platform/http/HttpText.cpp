#include "platform/http/HttpText.h"

#include <cstddef>
#include <cstdint>

#include "platform/http/HttpSyntax.h"

namespace lumora {
namespace {

using http::IsSpace;
using http::Lower;
using http::Trim;

constexpr char16_t kReplacement = 0xFFFD;

std::uint8_t ByteAt(const std::string& bytes, std::size_t i) {
    return static_cast<std::uint8_t>(bytes[i]);
}

bool StartsWith(const std::string& bytes, const char* prefix, std::size_t size) {
    return bytes.compare(0, size, prefix, size) == 0;
}

void AppendCodePoint(std::u16string& text, std::uint32_t c) {
    if (c < 0x10000) {
        text.push_back(static_cast<char16_t>(c));
        return;
    }
    c -= 0x10000;
    text.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
    text.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
}

std::u16string DecodeUtf8(const std::string& bytes) {
    std::u16string text;
    std::size_t i = StartsWith(bytes, "\xEF\xBB\xBF", 3) ? 3 : 0;
    while (i < bytes.size()) {
        const std::uint8_t lead = ByteAt(bytes, i);
        std::size_t length = 1;
        std::uint32_t c = lead;
        std::uint32_t least = 0;
        if (lead >= 0xC0 && lead < 0xE0) {
            length = 2;
            c = lead & 0x1Fu;
            least = 0x80;
        } else if (lead >= 0xE0 && lead < 0xF0) {
            length = 3;
            c = lead & 0x0Fu;
            least = 0x800;
        } else if (lead >= 0xF0 && lead < 0xF8) {
            length = 4;
            c = lead & 0x07u;
            least = 0x10000;
        } else if (lead >= 0x80) {
            c = kReplacement;
        }
        bool valid = i + length <= bytes.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const std::uint8_t next = ByteAt(bytes, i + k);
            valid = (next & 0xC0u) == 0x80u;
            c = (c << 6) | (next & 0x3Fu);
        }
        if (!valid || c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            // Skip one byte only, so that a good sequence after it survives.
            text.push_back(kReplacement);
            ++i;
            continue;
        }
        AppendCodePoint(text, c);
        i += length;
    }
    return text;
}

std::u16string DecodeUtf16(const std::string& bytes, bool bigEndian) {
    std::u16string text;
    std::size_t i = 0;
    if (StartsWith(bytes, bigEndian ? "\xFE\xFF" : "\xFF\xFE", 2)) {
        i = 2;
    }
    for (; i + 1 < bytes.size(); i += 2) {
        const std::uint8_t first = ByteAt(bytes, i);
        const std::uint8_t second = ByteAt(bytes, i + 1);
        text.push_back(bigEndian ? static_cast<char16_t>((first << 8) | second)
                                 : static_cast<char16_t>((second << 8) | first));
    }
    if (i < bytes.size()) {
        text.push_back(kReplacement);
    }
    return text;
}

std::u16string DecodeLatin1(const std::string& bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        text.push_back(ByteAt(bytes, i));
    }
    return text;
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
        return DecodeUtf8(bytes);
    }
    if (charset == "utf-16be") {
        return DecodeUtf16(bytes, true);
    }
    if (charset == "utf-16le") {
        return DecodeUtf16(bytes, false);
    }
    if (charset == "utf-16") {
        return DecodeUtf16(bytes, StartsWith(bytes, "\xFE\xFF", 2));
    }
    return DecodeLatin1(bytes);
}

}  // namespace lumora
