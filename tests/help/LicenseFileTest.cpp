// License.rtf, as the build puts it next to Lumora.exe: RTF that WordPad
// opens, which means a single group that starts with \rtf1, declares its
// character set and fonts up front, closes every group it opens, uses only
// fonts it declares, and is 7-bit text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

std::string ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class LicenseFileTest : public ::testing::Test {
  protected:
    const std::string rtf_ = ReadFile(LUMORA_LICENSE_FILE);
};

TEST_F(LicenseFileTest, IsTheLicenceOfTheSources) {
    ASSERT_FALSE(rtf_.empty());
    EXPECT_EQ(rtf_, ReadFile(LUMORA_LICENSE_SOURCE));
}

TEST_F(LicenseFileTest, IsOneRtfGroupWithCharacterSetAndFontTable) {
    ASSERT_EQ(rtf_.rfind("{\\rtf1", 0), 0u);
    const std::size_t fonts = rtf_.find("{\\fonttbl");
    ASSERT_NE(fonts, std::string::npos);
    const std::string header = rtf_.substr(0, fonts);
    EXPECT_NE(header.find("\\ansi"), std::string::npos);
    EXPECT_NE(header.find("\\deff0"), std::string::npos);

    // Braces balance, and the outer group closes only at the very end.
    int depth = 0;
    std::size_t closedAt = std::string::npos;
    for (std::size_t i = 0; i < rtf_.size(); ++i) {
        const char c = rtf_[i];
        if (c == '\\') {
            ++i;  // \{, \} and \\ are text, not groups
        } else if (c == '{') {
            ASSERT_FALSE(depth == 0 && i > 0) << "a second group starts at " << i;
            ++depth;
        } else if (c == '}') {
            ASSERT_GT(depth, 0) << "a group closes that never opened, at " << i;
            if (--depth == 0) {
                closedAt = i;
            }
        }
    }
    EXPECT_EQ(depth, 0);
    EXPECT_EQ(closedAt, rtf_.find_last_not_of(" \r\n"));
}

TEST_F(LicenseFileTest, UsesOnlyDeclaredFontsAndSevenBitText) {
    const std::size_t tableStart = rtf_.find("{\\fonttbl");
    ASSERT_NE(tableStart, std::string::npos);
    // The font table ends where its group closes.
    std::size_t tableEnd = tableStart;
    for (int depth = 0; tableEnd < rtf_.size(); ++tableEnd) {
        depth += rtf_[tableEnd] == '{' ? 1 : rtf_[tableEnd] == '}' ? -1 : 0;
        if (depth == 0) {
            break;
        }
    }
    std::set<std::string> declared;
    std::set<std::string> used;
    for (std::size_t i = 0; i + 2 < rtf_.size(); ++i) {
        if (rtf_[i] == '\\' && rtf_[i + 1] == 'f' && std::isdigit(rtf_[i + 2])) {
            std::size_t end = i + 2;
            while (end < rtf_.size() && std::isdigit(rtf_[end])) {
                ++end;
            }
            (i > tableStart && i < tableEnd ? declared : used).insert(rtf_.substr(i, end - i));
        }
    }
    EXPECT_FALSE(declared.empty());
    for (const std::string& font : used) {
        EXPECT_EQ(declared.count(font), 1u) << font << " is not in the font table";
    }
    EXPECT_EQ(std::count_if(rtf_.begin(), rtf_.end(),
                            [](char c) { return static_cast<unsigned char>(c) >= 0x80; }),
              0)
        << "characters beyond ASCII are written \\'xx";
}

}  // namespace
