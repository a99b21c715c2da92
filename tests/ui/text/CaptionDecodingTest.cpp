// Bytes of a caption table to text: byte-order marks, the ANSI fallback and
// input that is not what it claims to be.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/text/CaptionDecoding.h"

namespace lumora {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::wstring Decode(const Bytes& bytes) {
    return DecodeCaptionTable(bytes.data(), bytes.size(), DecodeWindows1252);
}

Bytes Cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct DecodeCase {
    const char* what;
    Bytes bytes;
    std::wstring expected;
};

TEST(CaptionDecodingTest, ByteOrderMarksAndAnsi) {
    const DecodeCase cases[] = {
        {"no mark: Windows-1252",
         {'a', 0xA9, 0xAE, 0x80, 0x99, 0xFF},
         L"a\u00a9\u00ae\u20ac\u2122\u00ff"},
        {"undefined 1252 bytes stay C1 controls",
         {0x81, 0x8D, 0x8F, 0x90, 0x9D},
         L"\u0081\u008d\u008f\u0090\u009d"},
        {"UTF-16 LE", {0xFF, 0xFE, 'a', 0, 0xE9, 0, 0xAC, 0x20}, L"a\u00e9\u20ac"},
        {"UTF-16 BE", {0xFE, 0xFF, 0, 'a', 0, 0xE9, 0x20, 0xAC}, L"a\u00e9\u20ac"},
        {"UTF-16 LE surrogate pair", {0xFF, 0xFE, 0x3D, 0xD8, 0x00, 0xDE}, L"\U0001F600"},
        {"UTF-16 odd last byte dropped", {0xFF, 0xFE, 'a', 0, 'b'}, L"a"},
        {"UTF-16 BE odd last byte dropped", {0xFE, 0xFF, 0, 'a', 0}, L"a"},
        {"mark only", {0xFF, 0xFE}, L""},
        {"UTF-8",
         {0xEF, 0xBB, 0xBF, 'a', 0xC3, 0xA9, 0xE2, 0x82, 0xAC, 0xF0, 0x9F, 0x98, 0x80},
         L"a\u00e9\u20ac\U0001F600"},
        {"UTF-8 mark only", {0xEF, 0xBB, 0xBF}, L""},
        {"a partial UTF-8 mark is ANSI", {0xEF, 0xBB, 'a'}, L"\u00ef\u00bba"},
        {"lone 0xFF is ANSI", {0xFF}, L"\u00ff"},
        {"empty", {}, L""},
        {"text ends at NUL (ANSI)", {'a', 0, 'b'}, L"a"},
        {"text ends at NUL (UTF-16)", {0xFF, 0xFE, 'a', 0, 0, 0, 'b', 0}, L"a"},
        {"text ends at NUL (UTF-8)", {0xEF, 0xBB, 0xBF, 'a', 0, 'b'}, L"a"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Decode(c.bytes), c.expected);
    }
}

TEST(CaptionDecodingTest, MalformedUtf8BecomesReplacementCharacters) {
    const Bytes mark = {0xEF, 0xBB, 0xBF};
    const DecodeCase cases[] = {
        {"stray trail byte", {0x80, 'a'}, L"\ufffda"},
        {"lead without trail", {0xC3, '('}, L"\ufffd("},
        {"overlong two-byte", {0xC0, 0xAF}, L"\ufffd\ufffd"},
        {"overlong three-byte", {0xE0, 0x80, 0xAF}, L"\ufffd\ufffd\ufffd"},
        {"encoded surrogate", {0xED, 0xA0, 0x80}, L"\ufffd\ufffd\ufffd"},
        {"past U+10FFFF", {0xF4, 0x90, 0x80, 0x80}, L"\ufffd\ufffd\ufffd\ufffd"},
        {"truncated at the end", {'a', 0xE2, 0x82}, L"a\ufffd"},
        {"invalid lead bytes", {0xF5, 0xFF}, L"\ufffd\ufffd"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Decode(Cat(mark, c.bytes)), c.expected);
    }
}

TEST(CaptionDecodingTest, AnsiDecoderSeesWholeBufferAndNothingElse) {
    static Bytes seen;
    const auto spy = [](const std::uint8_t* bytes, std::size_t count) {
        seen.assign(bytes, bytes + count);
        return std::wstring(L"x");
    };
    const Bytes bytes = {'S', ',', 0xE9};
    EXPECT_EQ(DecodeCaptionTable(bytes.data(), bytes.size(), spy), L"x");
    EXPECT_EQ(seen, bytes);
    seen.clear();
    const Bytes utf16 = {0xFF, 0xFE, 'a', 0};
    EXPECT_EQ(DecodeCaptionTable(utf16.data(), utf16.size(), spy), L"a");
    EXPECT_TRUE(seen.empty()) << "a marked table never reaches the ANSI decoder";
    EXPECT_EQ(DecodeCaptionTable(nullptr, 0, spy), L"");
}

}  // namespace
}  // namespace lumora
