#include "imaging/PcxDecoder.h"
#include "tests/support/PictureFiles.h"
#include "tests/support/ScratchFolderTest.h"

namespace kelvarn::testing {
using namespace kelvarn::imaging;
namespace {

using testing::Bytes;

class PcxDecoderTest : public kelvarn::testing::ScratchFolderTest {
protected:
    // Opens and decodes `bytes` as a file: -1 refused at open, 0 failed decode, 1 decoded.
    int load(const Bytes& bytes, ImageRecord& image) {
        EXPECT_TRUE(testing::writeFile(work("p.pcx"), bytes));
        PcxDecoder decoder;
        if (decoder.open(work("p.pcx").c_str(), image) != 1)
            return -1;
        return decoder.decode();
    }
};

Bytes palette768() {
    Bytes p(768);
    for (size_t i = 0; i < 768; ++i)
        p[i] = static_cast<uint8_t>(i * 7 + 3);
    return p;
}

TEST_F(PcxDecoderTest, EightBitEvenAndOddWidthsKeepIndexesAndThePalette) {
    for (const int width : {6, 7}) {
        Bytes indexes(static_cast<size_t>(width) * 5);
        for (size_t i = 0; i < indexes.size(); ++i)
            indexes[i] = static_cast<uint8_t>(i < 10 ? 0xC5 : i * 11); // runs and literals
        ImageRecord image;
        ASSERT_EQ(load(testing::pcx8(width, 5, indexes, palette768()), image), 1);
        EXPECT_EQ(image.width(), width);
        EXPECT_EQ(image.height(), 5);
        EXPECT_EQ(image.bitsPerPixel(), 8);
        ASSERT_EQ(image.paletteCount(), 256);
        // The odd width's padding byte (0xEE) of every scanline is dropped.
        EXPECT_EQ(Bytes(image.pixels(), image.pixels() + image.bufferSize()), indexes);
        const Bytes colours = palette768();
        for (int i = 0; i < 256; ++i)
            for (int c = 0; c < 3; ++c)
                ASSERT_EQ(image.paletteEntries()[i * 8 + c], colours[i * 3 + c]) << i;
    }
}

TEST_F(PcxDecoderTest, TwentyFourBitsComeFromThreePlanesPerScanline) {
    const Bytes rgb = testing::gradient(5, 4, 3);
    ImageRecord image;
    ASSERT_EQ(load(testing::pcx24(5, 4, rgb), image), 1);
    EXPECT_EQ(image.bitsPerPixel(), 24);
    EXPECT_EQ(image.paletteCount(), 0);
    EXPECT_EQ(Bytes(image.pixels(), image.pixels() + image.bufferSize()), rgb);
}

TEST_F(PcxDecoderTest, OnlyEightAndTwentyFourBitsAndRealBoundsAreAccepted) {
    struct Case {
        const char* name;
        uint8_t bitsPerPlane, planes;
        uint16_t xmax, ymax;
    };
    const Case refused[] = {
        {"1 bit", 1, 1, 7, 7},
        {"4 bits in one plane", 4, 1, 7, 7},
        {"4 planes of 1 bit", 1, 4, 7, 7},
        {"xmin = xmax", 8, 1, 0, 7},
        {"ymin = ymax", 8, 1, 7, 0},
    };
    for (const Case& c : refused) {
        testing::PcxHeader h;
        h.bitsPerPlane = c.bitsPerPlane;
        h.planes = c.planes;
        h.xmax = c.xmax;
        h.ymax = c.ymax;
        h.bytesPerLine = 8;
        Bytes bytes = testing::pcxHeader(h);
        bytes.resize(bytes.size() + 2000, 0x01);
        ImageRecord image;
        EXPECT_EQ(load(bytes, image), -1) << c.name;
    }
    Bytes notPcx = testing::pcx8(4, 4, Bytes(16, 1), palette768());
    notPcx[0] = 0x0B;
    ImageRecord image;
    EXPECT_EQ(load(notPcx, image), -1);
    EXPECT_EQ(load(Bytes(100, 0x0A), image), -1); // shorter than a header
}

TEST_F(PcxDecoderTest, ShortOrMalformedDataFailsWithoutReadingOutside) {
    const Bytes rgb = testing::gradient(40, 30, 3);
    Bytes full = testing::pcx24(40, 30, rgb);
    ImageRecord image;
    // Compressed data that end before the last scanline.
    EXPECT_EQ(load(Bytes(full.begin(), full.end() - 50), image), 0);
    // A header whose bounds run backwards.
    Bytes backwards = full;
    backwards[4] = 50; // xmin 50 > xmax 39
    EXPECT_EQ(load(backwards, image), 0);
    // Far fewer data than even the longest runs could turn into the announced picture: refused
    // before any pixel memory is made.
    testing::PcxHeader h;
    h.xmax = 7999;
    h.ymax = 7999;
    h.planes = 3;
    h.bytesPerLine = 8000;
    Bytes huge = testing::pcxHeader(h);
    huge.resize(huge.size() + 5000, 0xFF);
    ImageRecord untouched;
    EXPECT_EQ(load(huge, untouched), 0);
    EXPECT_EQ(untouched.pixels(), nullptr);
    // Planes x bytes per line far beyond width x 6, made of runs that end at every scanline's
    // end: decoded without touching anything outside the scratch scanline.
    h = {};
    h.xmax = 3;
    h.ymax = 1;
    h.planes = 3;
    h.bytesPerLine = 1000;
    Bytes wide = testing::pcxHeader(h);
    for (int row = 0; row < 2; ++row)
        for (int i = 0; i < 48; ++i)
            wide.insert(wide.end(), {0xFF, static_cast<uint8_t>(row * 100 + i)});
    ASSERT_EQ(load(wide, image), 1);
    EXPECT_EQ(image.row(1)[0], 100); // red plane starts the second scanline
    EXPECT_EQ(image.row(1)[1], 115); // green plane: 1000 bytes in, run 15 (63 bytes each)
    // Bytes per line below the width: the pixels past it stay 0.
    h = {};
    h.xmax = 9;
    h.ymax = 1;
    h.bytesPerLine = 4;
    Bytes narrow = testing::pcxHeader(h);
    narrow.insert(narrow.end(), {1, 2, 3, 4, 5, 6, 7, 8, 0x0C});
    narrow.resize(narrow.size() + 768, 9);
    ASSERT_EQ(load(narrow, image), 1);
    EXPECT_EQ(Bytes(image.pixels(), image.pixels() + 20),
              Bytes({1, 2, 3, 4, 0, 0, 0, 0, 0, 0, 5, 6, 7, 8, 0, 0, 0, 0, 0, 0}));
}

TEST_F(PcxDecoderTest, RunsStopAtTheScanlineAndZeroRunsYieldNothing) {
    testing::PcxHeader h;
    h.xmax = 3;
    h.ymax = 1;
    h.bytesPerLine = 4;
    Bytes bytes = testing::pcxHeader(h);
    // Row 0: a run of 63 cut to the 4 bytes of the scanline; row 1: a zero run, then literals.
    bytes.insert(bytes.end(), {0xFF, 0x21, 0xC0, 0x99, 0x05, 0x06, 0xC2, 0x07});
    bytes.push_back(0x0C);
    bytes.resize(bytes.size() + 768, 0);
    ImageRecord image;
    ASSERT_EQ(load(bytes, image), 1);
    EXPECT_EQ(Bytes(image.pixels(), image.pixels() + 8),
              Bytes({0x21, 0x21, 0x21, 0x21, 5, 6, 7, 7}));
}

} // namespace
} // namespace kelvarn::testing
