#include "imaging/TiffDecoder.h"
#include "tests/support/PictureFiles.h"
#include "tests/support/ScratchFolderTest.h"

#include <tiffio.h>

namespace kelvarn::testing {
using namespace kelvarn::imaging;
namespace {

using testing::Bytes;
using testing::TiffKind;
using testing::TiffPage;

class TiffDecoderTest : public kelvarn::testing::ScratchFolderTest {
protected:
    // Decodes `pages` written to a file and returns the picture's bytes (empty on failure).
    Bytes decodePages(const std::vector<TiffPage>& pages, int32_t* width = nullptr,
                      int32_t* height = nullptr) {
        EXPECT_TRUE(testing::writeTiff(work("t.tif"), pages));
        ImageRecord image;
        TiffDecoder decoder;
        if (decoder.open(work("t.tif").c_str(), image) != 1 || decoder.decode() != 1)
            return {};
        EXPECT_EQ(image.bitsPerPixel(), 24);
        EXPECT_EQ(image.paletteCount(), 0);
        if (width)
            *width = image.width();
        if (height)
            *height = image.height();
        return Bytes(image.pixels(), image.pixels() + image.bufferSize());
    }
};

TiffPage page(int width, int height, TiffKind kind, Bytes samples, uint16_t compression = 1) {
    TiffPage p;
    p.width = width;
    p.height = height;
    p.kind = kind;
    p.samples = std::move(samples);
    p.compression = compression;
    return p;
}

TEST_F(TiffDecoderTest, RgbInEveryCompressionGivesTheSamePixelsTopRowFirst) {
    const Bytes rgb = testing::gradient(13, 7, 3);
    for (const uint16_t compression :
         {COMPRESSION_NONE, COMPRESSION_LZW, COMPRESSION_ADOBE_DEFLATE, COMPRESSION_PACKBITS}) {
        TiffPage p = page(13, 7, TiffKind::Rgb, rgb, compression);
        p.rowsPerStrip = 3; // several strips, the last one short
        int32_t w = 0, h = 0;
        EXPECT_EQ(decodePages({p}, &w, &h), rgb) << "compression " << compression;
        EXPECT_EQ(w, 13);
        EXPECT_EQ(h, 7);
    }
}

TEST_F(TiffDecoderTest, AlphaIsDropped) {
    const Bytes rgba = testing::gradient(6, 4, 4);
    Bytes rgb;
    for (size_t i = 0; i < rgba.size(); i += 4)
        rgb.insert(rgb.end(), {rgba[i], rgba[i + 1], rgba[i + 2]});
    // Associated alpha: libtiff hands the colour samples through unchanged.
    EXPECT_EQ(decodePages({page(6, 4, TiffKind::Rgba, rgba)}), rgb);
}

TEST_F(TiffDecoderTest, GreyPaletteAndBilevelBecomeRgb) {
    const Bytes grey = testing::gradient(9, 5, 1);
    Bytes expected;
    for (uint8_t v : grey)
        expected.insert(expected.end(), {v, v, v});
    EXPECT_EQ(decodePages({page(9, 5, TiffKind::Grey, grey)}), expected);

    TiffPage palette = page(4, 2, TiffKind::Palette, {0, 1, 2, 3, 3, 2, 1, 0});
    palette.map.assign(768, 0);
    const uint8_t colours[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {10, 20, 30}};
    for (int i = 0; i < 4; ++i)
        for (int c = 0; c < 3; ++c)
            palette.map[c * 256 + i] = static_cast<uint16_t>(colours[i][c] * 257);
    expected.clear();
    for (uint8_t index : palette.samples)
        expected.insert(expected.end(), colours[index], colours[index] + 3);
    EXPECT_EQ(decodePages({palette}), expected);

    const Bytes bits = {1, 0, 0, 1, 1, 0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 1, 0, 1, 0, 1, 0};
    expected.clear();
    for (uint8_t b : bits)
        expected.insert(expected.end(), 3, b ? 255 : 0);
    EXPECT_EQ(decodePages({page(7, 3, TiffKind::Bilevel, bits)}), expected);
}

TEST_F(TiffDecoderTest, OnlyTheFirstImageOfAMultiImageFileIsRead) {
    const Bytes first = testing::gradient(5, 3, 3);
    int32_t w = 0, h = 0;
    EXPECT_EQ(decodePages({page(5, 3, TiffKind::Rgb, first),
                           page(8, 8, TiffKind::Grey, testing::gradient(8, 8, 1))},
                          &w, &h),
              first);
    EXPECT_EQ(w, 5);
    EXPECT_EQ(h, 3);
}

TEST_F(TiffDecoderTest, NonTiffFilesAreRefusedWithoutAWord) {
    ASSERT_TRUE(testing::writeFile(work("x.png"), {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0}));
    ASSERT_TRUE(testing::writeFile(work("ii.tif"), {'I', 'I', 42, 0, 200, 0, 0, 0}));
    ImageRecord image;
    TiffDecoder decoder;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(decoder.open(work("x.png").c_str(), image), 0);
    EXPECT_EQ(decoder.open(work("ii.tif").c_str(), image), 0);
    EXPECT_EQ(decoder.open(work("missing.tif").c_str(), image), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST_F(TiffDecoderTest, HugeSizeIsRefusedBeforeAnyPixelMemory) {
    // A header announcing 40000 x 40000: the RGBA raster alone would exceed the pixel limit.
    TiffPage big = page(40000, 2, TiffKind::Grey, Bytes(80000, 7));
    big.rowsPerStrip = 0xFFFFFFFF; // one strip whatever the length
    ASSERT_TRUE(testing::writeTiff(work("big.tif"), {big}));
    Bytes bytes = testing::readFile(work("big.tif"));
    // Patch the image length tag (257) in the first directory to 40000.
    const uint32_t ifd = bytes[4] | bytes[5] << 8 | bytes[6] << 16 | bytes[7] << 24;
    const int count = bytes[ifd] | bytes[ifd + 1] << 8;
    bool patched = false;
    for (int i = 0; i < count; ++i) {
        uint8_t* e = bytes.data() + ifd + 2 + 12 * i;
        if ((e[0] | e[1] << 8) == 257) {
            const uint16_t type = static_cast<uint16_t>(e[2] | e[3] << 8);
            e[8] = 0x40;
            e[9] = 0x9C;
            if (type == 4)
                e[10] = e[11] = 0;
            patched = true;
        }
    }
    ASSERT_TRUE(patched);
    ASSERT_TRUE(testing::writeFile(work("big.tif"), bytes));
    ImageRecord image;
    TiffDecoder decoder;
    ASSERT_EQ(decoder.open(work("big.tif").c_str(), image), 1);
    EXPECT_EQ(decoder.height(), 40000u);
    EXPECT_EQ(decoder.decode(), 0);
    EXPECT_EQ(image.pixels(), nullptr);
}

} // namespace
} // namespace kelvarn::testing
