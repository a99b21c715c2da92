// The bytes of the shipped caption table, resources/English.txt.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ui/text/CaptionDecoding.h"
#include "ui/text/CaptionTable.h"

namespace lumora {
namespace {

std::vector<std::uint8_t> ShippedBytes() {
    std::ifstream file(LUMORA_SOURCE_DIR "/resources/English.txt", std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file),
                                     std::istreambuf_iterator<char>());
}

TEST(ShippedTableTest, Windows1252WithoutMarkAndCrLfOnly) {
    const auto bytes = ShippedBytes();
    ASSERT_GT(bytes.size(), 1000u);
    EXPECT_NE(bytes[0], 0xEF);
    EXPECT_NE(bytes[0], 0xFF);
    EXPECT_NE(bytes[0], 0xFE);
    bool copyright = false;
    bool registered = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::uint8_t b = bytes[i];
        copyright = copyright || b == 0xA9;
        registered = registered || b == 0xAE;
        EXPECT_TRUE(b >= 0x20 || b == '\r' || b == '\n') << "control byte at " << i;
        EXPECT_TRUE(b < 0x80 || b >= 0xA0) << "byte " << int{b} << " at " << i;
        if (b == '\r') {
            EXPECT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "lone CR at " << i;
        }
        if (b == '\n') {
            EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << "lone LF at " << i;
        }
    }
    EXPECT_TRUE(copyright);
    EXPECT_TRUE(registered);
    EXPECT_NE(bytes.back(), '\n') << "no break after the last line";
}

TEST(ShippedTableTest, SectionsInOrderAndRowsInTheirShape) {
    const auto bytes = ShippedBytes();
    const std::wstring text = DecodeCaptionTable(bytes.data(), bytes.size(), DecodeWindows1252);
    const std::vector<std::wstring> order = {L"LMMainForm", L"LMAboutForm", L"LMSettingsForm",
                                             L"LMUpdateForm"};
    std::vector<std::wstring> sections;
    std::vector<std::size_t> rows;
    int trailingBlanks = 0;
    bool afterEmpty = true;
    CaptionLines lines(text);
    std::wstring_view line;
    while (lines.Next(line)) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(line)));
        if (line.empty()) {
            EXPECT_FALSE(afterEmpty) << "one empty line between sections, none at the ends";
            afterEmpty = true;
            continue;
        }
        const auto fields = SplitCaptionFields(line);
        ASSERT_EQ(fields.size(), 3u);
        if (afterEmpty) {
            sections.push_back(fields[0]);
            rows.push_back(0);
            // A section opens with its title row.
            EXPECT_EQ(fields[1], fields[0]);
        }
        afterEmpty = false;
        EXPECT_EQ(fields[0], sections.back()) << "a section is one block";
        ++rows.back();
        // Section, comma, blank, key, comma, blank, quoted text (one blank
        // allowed after it); no text needs an escaped quote.
        std::wstring shape = fields[0] + L", " + fields[1] + L", \"" + fields[2] + L"\"";
        if (line.size() == shape.size() + 1) {
            shape += L" ";
            ++trailingBlanks;
        }
        EXPECT_EQ(line, shape);
        EXPECT_EQ(fields[2].find(L'"'), std::wstring::npos);
    }
    EXPECT_FALSE(afterEmpty);
    EXPECT_EQ(sections, order);
    EXPECT_EQ(rows, (std::vector<std::size_t>{31, 9, 15, 23}));
    EXPECT_EQ(trailingBlanks, 2);
}

}  // namespace
}  // namespace lumora
