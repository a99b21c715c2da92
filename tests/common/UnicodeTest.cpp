// UTF-8 and UTF-16 bytes to UTF-16 code units: the Unicode standard's
// examples of ill-formed UTF-8, the edges of each sequence length, and the
// fuzz seeds of the caption tables and the update server's replies.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/Unicode.h"

namespace lumora {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::u16string Utf8(const Bytes& bytes) {
    return DecodeUtf8(bytes.data(), bytes.size());
}

struct Utf8Case {
    const char* what;
    Bytes bytes;
    std::u16string units;
};

TEST(UnicodeTest, WellFormedUtf8AtTheEdgesOfEachLength) {
    const Utf8Case cases[] = {
        {"empty", {}, u""},
        {"U+0000 and U+007F", {0x00, 0x7F}, std::u16string(u"\0\x7F", 2)},
        {"U+0080 and U+07FF", {0xC2, 0x80, 0xDF, 0xBF}, u"\u0080\u07FF"},
        {"U+0800 and U+D7FF", {0xE0, 0xA0, 0x80, 0xED, 0x9F, 0xBF}, u"\u0800\uD7FF"},
        {"U+E000 and U+FFFF", {0xEE, 0x80, 0x80, 0xEF, 0xBF, 0xBF}, u"\uE000\uFFFF"},
        {"U+FEFF stays a character", {0xEF, 0xBB, 0xBF, 'a'}, u"\uFEFFa"},
        {"U+10000 as a surrogate pair", {0xF0, 0x90, 0x80, 0x80}, u"\U00010000"},
        {"U+10FFFF as a surrogate pair", {0xF4, 0x8F, 0xBF, 0xBF}, u"\U0010FFFF"},
    };
    for (const Utf8Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Utf8(c.bytes), c.units);
    }
}

// The Unicode standard's examples (chapter 3, "U+FFFD Substitution of
// Maximal Subparts"): one U+FFFD for each maximal ill-formed part.
TEST(UnicodeTest, OneReplacementForEachMaximalIllFormedPart) {
    const std::u16string r(1, kReplacementCharacter);
    const Utf8Case cases[] = {
        {"the standard's mixed example",
         {0x61, 0xF1, 0x80, 0x80, 0xE1, 0x80, 0xC2, 0x62, 0x80, 0x63, 0x80, 0xBF, 0x64},
         u"a" + r + r + r + u"b" + r + u"c" + r + r + u"d"},
        {"non-shortest forms",
         {0xC0, 0xAF, 0xE0, 0x80, 0xBF, 0xF0, 0x81, 0x82, 0x41},
         r + r + r + r + r + r + r + r + u"A"},
        {"encoded surrogates",
         {0xED, 0xA0, 0x80, 0xED, 0xBF, 0xBF, 0xED, 0xAF, 0x41},
         r + r + r + r + r + r + r + r + u"A"},
        {"past U+10FFFF and bytes that are never UTF-8",
         {0xF4, 0x91, 0x92, 0x93, 0xFF, 0x41, 0x80, 0xBF, 0x42},
         r + r + r + r + r + u"A" + r + r + u"B"},
        {"truncated sequences",
         {0xE1, 0x80, 0xE2, 0xF0, 0x91, 0x92, 0xF1, 0xBF, 0x41},
         r + r + r + r + u"A"},
        {"truncated at the end", {'a', 0xF0, 0x9F, 0x98}, u"a" + r},
        {"a lead byte before a good character", {0xC3, 0xC3, 0xA9}, r + u"\u00E9"},
        {"five- and six-byte forms",
         {0xF8, 0x88, 0x80, 0x80, 0x80, 0xFC, 0x84},
         r + r + r + r + r + r + r},
    };
    for (const Utf8Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Utf8(c.bytes), c.units);
    }
}

TEST(UnicodeTest, Utf16BytesInEitherOrderKeepEveryWholeUnit) {
    const Bytes le = {'a', 0, 0x3D, 0xD8, 0x00, 0xDE, 0x00, 0xDC, 'z'};
    EXPECT_EQ(DecodeUtf16(le.data(), le.size(), ByteOrder::LittleEndian),
              std::u16string(u"a\U0001F600") + char16_t{0xDC00})
        << "pairs and a lone low surrogate stay as they are; the odd byte is left out";
    const Bytes be = {0, 'a', 0xD8, 0x3D, 0xDE, 0x00, 0xD8, 0x00};
    EXPECT_EQ(DecodeUtf16(be.data(), be.size(), ByteOrder::BigEndian),
              std::u16string(u"a\U0001F600") + char16_t{0xD800});
    EXPECT_EQ(DecodeUtf16(be.data(), 1, ByteOrder::BigEndian), u"");
}

TEST(UnicodeTest, SurrogatePairsSplitAndJoin) {
    for (const std::uint32_t c : {0x10000u, 0x1F600u, 0x10FFFFu}) {
        std::u16string units;
        AppendCodePoint(units, c);
        ASSERT_EQ(units.size(), 2u);
        EXPECT_TRUE(IsHighSurrogate(units[0]));
        EXPECT_TRUE(IsLowSurrogate(units[1]));
        EXPECT_EQ(JoinSurrogates(units[0], units[1]), c);
    }
    std::u16string units;
    AppendCodePoint(units, 0xFFFF);
    AppendCodePoint(units, 0xDC00);
    EXPECT_EQ(units, std::u16string({0xFFFF, 0xDC00})) << "one unit up to U+FFFF";
    EXPECT_FALSE(IsHighSurrogate(0xDC00));
    EXPECT_FALSE(IsLowSurrogate(0xDBFF));
}

// Properties that hold for any bytes: the text is well-formed UTF-16, has
// at most a unit per byte, and keeps every ASCII byte, in order.
void ExpectSoundDecoding(const Bytes& bytes) {
    const std::u16string units = Utf8(bytes);
    EXPECT_LE(units.size(), bytes.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (IsHighSurrogate(units[i])) {
            ASSERT_TRUE(i + 1 < units.size() && IsLowSurrogate(units[i + 1])) << "unit " << i;
            ++i;
        } else {
            ASSERT_FALSE(IsLowSurrogate(units[i])) << "unit " << i;
        }
    }
    std::u16string asciiIn;
    std::copy_if(bytes.begin(), bytes.end(), std::back_inserter(asciiIn),
                 [](std::uint8_t b) { return b < 0x80; });
    std::u16string asciiOut;
    std::copy_if(units.begin(), units.end(), std::back_inserter(asciiOut),
                 [](char16_t u) { return u < 0x80; });
    EXPECT_EQ(asciiOut, asciiIn);

    const std::u16string le = DecodeUtf16(bytes.data(), bytes.size(), ByteOrder::LittleEndian);
    const std::u16string be = DecodeUtf16(bytes.data(), bytes.size(), ByteOrder::BigEndian);
    ASSERT_EQ(le.size(), bytes.size() / 2);
    ASSERT_EQ(be.size(), le.size());
    for (std::size_t i = 0; i < le.size(); ++i) {
        EXPECT_EQ(be[i], static_cast<char16_t>((le[i] >> 8) | (le[i] << 8))) << "unit " << i;
    }
}

TEST(UnicodeTest, FuzzSeedsOfTheCaptionTablesAndReplies) {
    int seeds = 0;
    for (const char* corpus : {"captions_corpus", "http_reply_corpus"}) {
        const std::filesystem::path folder =
            std::filesystem::path(LUMORA_SOURCE_DIR) / "tests" / "fuzz" / corpus;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            SCOPED_TRACE(entry.path().string());
            std::ifstream file(entry.path(), std::ios::binary);
            const Bytes bytes{std::istreambuf_iterator<char>(file),
                              std::istreambuf_iterator<char>()};
            ExpectSoundDecoding(bytes);
            ++seeds;
        }
    }
    EXPECT_GT(seeds, 10);
}

TEST(UnicodeTest, EveryTwoByteInput) {
    for (unsigned first = 0; first < 256; ++first) {
        for (unsigned second = 0; second < 256; ++second) {
            ExpectSoundDecoding(
                {static_cast<std::uint8_t>(first), static_cast<std::uint8_t>(second)});
        }
    }
}

}  // namespace
}  // namespace lumora
