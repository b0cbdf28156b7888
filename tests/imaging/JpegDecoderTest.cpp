#include "imaging/JpegDecoder.h"
#include "tests/support/PictureFiles.h"
#include "tests/support/ScratchFolderTest.h"

#include <cstdlib>
#include <cstring>

namespace kelvarn::testing {
using namespace kelvarn::imaging;
namespace {

using testing::Bytes;

class JpegDecoderTest : public kelvarn::testing::ScratchFolderTest {};

int largestDifference(const ImageRecord& image, const Bytes& expected) {
    int worst = 0;
    for (size_t i = 0; i < expected.size(); ++i)
        worst = std::max(worst, std::abs(int{image.pixels()[i]} - int{expected[i]}));
    return worst;
}

TEST_F(JpegDecoderTest, ColourFileGivesRgbRowsTopDown) {
    for (const bool progressive : {false, true}) {
        const Bytes pixels = testing::gradient(37, 21, 3);
        ASSERT_TRUE(testing::writeJpeg(work("c.jpg"), 37, 21, 3, pixels, progressive));
        ImageRecord image;
        JpegDecoder decoder;
        ASSERT_EQ(decoder.open(work("c.jpg").c_str(), image), 1);
        ASSERT_EQ(decoder.decode(), 1);
        EXPECT_EQ(image.width(), 37);
        EXPECT_EQ(image.height(), 21);
        EXPECT_EQ(image.bitsPerPixel(), 24);
        EXPECT_EQ(image.paletteCount(), 0);
        // Quality 100 without chroma subsampling: only rounding differences remain, far below
        // what swapped channels or flipped rows would give.
        EXPECT_LE(largestDifference(image, pixels), 6) << "progressive " << progressive;
    }
}

TEST_F(JpegDecoderTest, GreyFileGivesEightBitsWithoutPalette) {
    const Bytes pixels = testing::gradient(16, 9, 1);
    ASSERT_TRUE(testing::writeJpeg(work("g.jpg"), 16, 9, 1, pixels));
    ImageRecord image;
    JpegDecoder decoder;
    ASSERT_EQ(decoder.open(work("g.jpg").c_str(), image), 1);
    ASSERT_EQ(decoder.decode(), 1);
    EXPECT_EQ(image.bitsPerPixel(), 8);
    EXPECT_EQ(image.paletteCount(), 0);
    EXPECT_EQ(image.bufferSize(), 16u * 9u);
    EXPECT_LE(largestDifference(image, pixels), 3);
}

TEST_F(JpegDecoderTest, CmykAndYcckAreRefusedAtOpen) {
    const Bytes pixels = testing::gradient(8, 8, 4);
    for (const bool ycck : {false, true}) {
        ASSERT_TRUE(testing::writeJpeg(work("k.jpg"), 8, 8, 4, pixels, false, ycck));
        ImageRecord image;
        JpegDecoder decoder;
        EXPECT_EQ(decoder.open(work("k.jpg").c_str(), image), 0) << "ycck " << ycck;
        EXPECT_EQ(image.pixels(), nullptr);
        EXPECT_EQ(decoder.decode(), 0); // not opened
    }
}

TEST_F(JpegDecoderTest, StartMarkerWithoutJpegIsRefusedSilently) {
    // A start marker, an APP0 segment too short to be one, then filler.
    Bytes bytes(400, 0x5A);
    const uint8_t start[] = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x01};
    std::copy(std::begin(start), std::end(start), bytes.begin());
    ASSERT_TRUE(testing::writeFile(work("fake.jpg"), bytes));
    ImageRecord image;
    JpegDecoder decoder;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(decoder.open(work("fake.jpg").c_str(), image), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");

    ASSERT_TRUE(testing::writeFile(work("short"), {0xFF}));
    EXPECT_EQ(decoder.open(work("short").c_str(), image), 0);
    EXPECT_EQ(decoder.open(work("missing").c_str(), image), 0);
}

TEST_F(JpegDecoderTest, TruncatedFileFailsInsteadOfPaddingWithGrey) {
    const Bytes pixels = testing::gradient(64, 64, 3);
    ASSERT_TRUE(testing::writeJpeg(work("t.jpg"), 64, 64, 3, pixels));
    Bytes bytes = testing::readFile(work("t.jpg"));
    bytes.resize(bytes.size() * 2 / 3);
    ASSERT_TRUE(testing::writeFile(work("t.jpg"), bytes));
    ImageRecord image;
    JpegDecoder decoder;
    ASSERT_EQ(decoder.open(work("t.jpg").c_str(), image), 1);
    EXPECT_EQ(decoder.decode(), 0);
}

int g_progressCalls = 0;
int g_lastPercent = -1;
void countProgress(int32_t kind, int32_t percent, int32_t, int32_t) {
    EXPECT_EQ(kind, 1);
    ++g_progressCalls;
    g_lastPercent = percent;
}

TEST_F(JpegDecoderTest, ReportsEveryRowAndOnceMore) {
    ASSERT_TRUE(testing::writeJpeg(work("p.jpg"), 5, 7, 1, testing::gradient(5, 7, 1)));
    ImageRecord image;
    JpegDecoder decoder;
    g_progressCalls = 0;
    ASSERT_EQ(decoder.open(work("p.jpg").c_str(), image, countProgress), 1);
    ASSERT_EQ(decoder.decode(), 1);
    EXPECT_EQ(g_progressCalls, 8);
    EXPECT_EQ(g_lastPercent, 100);
}

} // namespace
} // namespace kelvarn::testing
