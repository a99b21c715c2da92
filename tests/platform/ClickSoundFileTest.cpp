// The click sound shipped in the program's resources: a RIFF/WAVE file of
// 2,202 bytes, 16-bit mono PCM at 22,050 samples per second, 1,079 samples.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace lumora {
namespace {

std::uint32_t U32(const std::vector<unsigned char>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t(b[at + 3]) << 24);
}
std::uint16_t U16(const std::vector<unsigned char>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
std::string Tag(const std::vector<unsigned char>& b, std::size_t at) {
    return std::string(b.begin() + at, b.begin() + at + 4);
}

TEST(ClickSoundFile, HeaderAndSize) {
    std::ifstream in(LUMORA_CLICK_WAV, std::ios::binary);
    ASSERT_TRUE(in) << LUMORA_CLICK_WAV;
    const std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
    ASSERT_EQ(b.size(), 2202u);
    EXPECT_EQ(Tag(b, 0), "RIFF");
    EXPECT_EQ(U32(b, 4), 2202u - 8);
    EXPECT_EQ(Tag(b, 8), "WAVE");
    EXPECT_EQ(Tag(b, 12), "fmt ");
    EXPECT_EQ(U32(b, 16), 16u);
    EXPECT_EQ(U16(b, 20), 1u) << "PCM";
    EXPECT_EQ(U16(b, 22), 1u) << "mono";
    EXPECT_EQ(U32(b, 24), 22050u);
    EXPECT_EQ(U32(b, 28), 22050u * 2) << "bytes per second";
    EXPECT_EQ(U16(b, 32), 2u) << "block size";
    EXPECT_EQ(U16(b, 34), 16u);
    EXPECT_EQ(Tag(b, 36), "data");
    EXPECT_EQ(U32(b, 40), 1079u * 2);
}

}  // namespace
}  // namespace lumora
