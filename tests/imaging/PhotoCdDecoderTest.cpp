#include "imaging/PhotoCdDecoder.h"
#include "tests/support/PictureFiles.h"
#include "tests/support/ScratchFolderTest.h"

#include <cstring>

namespace kelvarn::testing {
using namespace kelvarn::imaging;
namespace {

using testing::Bytes;

class PhotoCdDecoderTest : public kelvarn::testing::ScratchFolderTest {};

std::array<uint8_t, 3> rgbOf(uint8_t y, uint8_t c1, uint8_t c2) {
    std::array<uint8_t, 3> rgb{};
    PhotoCdDecoder::toRgb(y, c1, c2, rgb.data());
    return rgb;
}

TEST_F(PhotoCdDecoderTest, ConversionRoundsAndClamps) {
    using Rgb = std::array<uint8_t, 3>;
    EXPECT_EQ(rgbOf(0, 156, 137), (Rgb{0, 0, 0}));
    // 1.407488 x 100 = 140.7488, + 0.5, floor: 141.
    EXPECT_EQ(rgbOf(100, 156, 137), (Rgb{141, 141, 141}));
    // R = 358.9... + 156.1... and B = 358.9... + 201.5... are cut to 255; G = 240.24...
    EXPECT_EQ(rgbOf(255, 255, 255), (Rgb{255, 240, 255}));
    // c1 = -156, c2 = -137: R and B negative (0); G = 92.32704 + 61.6851456 = 154.01...
    EXPECT_EQ(rgbOf(0, 0, 0), (Rgb{0, 154, 0}));
    // c1 = 99, c2 = -137 at Y = 0: B = 201.568... -> 202.
    EXPECT_EQ(rgbOf(0, 255, 0)[2], 202);
}

TEST_F(PhotoCdDecoderTest, SignatureAndSizeDecideAcceptance) {
    ImageRecord image;
    PhotoCdDecoder decoder;
    ASSERT_TRUE(testing::writeFile(work("a.pcd"), testing::photoCd(true, 100, 156, 137)));
    EXPECT_EQ(decoder.open(work("a.pcd").c_str(), image, 2), 1);
    decoder.close();
    EXPECT_EQ(decoder.open(work("a.pcd").c_str(), image, 3), 0);
    EXPECT_EQ(decoder.open(work("a.pcd").c_str(), image, -1), 0);

    ASSERT_TRUE(testing::writeFile(work("b.pcd"), testing::photoCd(false, 100, 156, 137)));
    EXPECT_EQ(decoder.open(work("b.pcd").c_str(), image, 2), 0);
    // One byte short of 0x100000 is not enough, signature or not.
    ASSERT_TRUE(testing::writeFile(work("c.pcd"), testing::photoCd(true, 100, 156, 137, 0xFFFFF)));
    EXPECT_EQ(decoder.open(work("c.pcd").c_str(), image, 2), 0);
    EXPECT_EQ(image.pixels(), nullptr);
}

TEST_F(PhotoCdDecoderTest, RowPairsShareSubsampledChroma) {
    Bytes file = testing::photoCd(true, 0, 156, 137);
    // Pair 1 (rows 2 and 3) of the 768 x 512 picture: distinct luma rows and chroma that
    // changes every two pixels.
    uint8_t* pair = file.data() + 0x30000 + 3 * 768;
    for (int x = 0; x < 768; ++x) {
        pair[x] = static_cast<uint8_t>(x);
        pair[768 + x] = static_cast<uint8_t>(255 - x);
    }
    for (int i = 0; i < 384; ++i) {
        pair[1536 + i] = static_cast<uint8_t>(100 + i % 100);      // C1
        pair[1536 + 384 + i] = static_cast<uint8_t>(200 - i % 90); // C2
    }
    ASSERT_TRUE(testing::writeFile(work("p.pcd"), file));
    ImageRecord image;
    PhotoCdDecoder decoder;
    ASSERT_EQ(decoder.open(work("p.pcd").c_str(), image, 2), 1);
    ASSERT_EQ(decoder.decode(), 1);
    ASSERT_EQ(image.width(), 768);
    ASSERT_EQ(image.height(), 512);
    ASSERT_EQ(image.bitsPerPixel(), 24);
    for (int x = 0; x < 768; ++x) {
        const uint8_t c1 = static_cast<uint8_t>(100 + (x / 2) % 100);
        const uint8_t c2 = static_cast<uint8_t>(200 - (x / 2) % 90);
        const auto top = rgbOf(static_cast<uint8_t>(x), c1, c2);
        const auto bottom = rgbOf(static_cast<uint8_t>(255 - x), c1, c2);
        ASSERT_EQ(0, std::memcmp(image.row(2) + 3 * x, top.data(), 3)) << x;
        ASSERT_EQ(0, std::memcmp(image.row(3) + 3 * x, bottom.data(), 3)) << x;
    }
    // The other pairs are black (Y = 0, neutral chroma).
    EXPECT_EQ(image.row(0)[0] + image.row(1)[767 * 3 + 2] + image.row(511)[100], 0);
}

TEST_F(PhotoCdDecoderTest, SmallerResolutionsAndShortData) {
    Bytes file = testing::photoCd(true, 50, 156, 137);
    std::memset(file.data() + 0x2000, 200, 192 * 3); // first pair of resolution 0
    ASSERT_TRUE(testing::writeFile(work("r.pcd"), file));
    ImageRecord image;
    PhotoCdDecoder decoder;
    ASSERT_EQ(decoder.open(work("r.pcd").c_str(), image, 0), 1);
    ASSERT_EQ(decoder.decode(), 1);
    EXPECT_EQ(image.width(), 192);
    EXPECT_EQ(image.height(), 128);
    EXPECT_EQ(image.row(1)[0], rgbOf(200, 200, 200)[0]);
    ASSERT_EQ(decoder.open(work("r.pcd").c_str(), image, 1), 1);
    ASSERT_EQ(decoder.decode(), 1);
    EXPECT_EQ(image.width(), 384);
    EXPECT_EQ(image.height(), 256);

    // Resolution 2 needs data up to 0xC0000; a large enough file always has them, so shorten
    // the read by asking a file that changes under the decoder.
    ASSERT_EQ(decoder.open(work("r.pcd").c_str(), image, 2), 1);
    ASSERT_TRUE(testing::writeFile(work("r.pcd"), Bytes(0x30000 + 100, 0)));
    EXPECT_EQ(decoder.decode(), 0);
}

} // namespace
} // namespace kelvarn::testing
