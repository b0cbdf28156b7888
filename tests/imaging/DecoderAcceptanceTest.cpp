// Files that some decoder must accept although they look unusual: subsampled YCbCr TIFFs,
// JPEGs without their end marker, and files two decoders accept, which go to the earlier one.
#include "imaging/LoaderChain.h"
#include "imaging/PngCodec.h"
#include "tests/support/FileBytes.h"
#include "tests/support/PictureFiles.h"
#include "tests/support/ScratchFolderTest.h"

#include <tiffio.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace kelvarn::testing {
using namespace kelvarn::imaging;
namespace {

using testing::Bytes;

class DecoderAcceptanceTest : public kelvarn::testing::ScratchFolderTest {
protected:
    int load(const std::string& name, ImageRecord& image) {
        return LoadImageFile(work(name).c_str(), image);
    }
};

uint8_t clampByte(double v) {
    return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

// Colour of one pixel from its luma and chroma, with the TIFF defaults (ITU-R 601
// coefficients, full-range reference levels).
std::array<uint8_t, 3> ycbcrToRgb(int y, int cb, int cr) {
    return {clampByte(y + 1.402 * (cr - 128)),
            clampByte(y - 0.344136 * (cb - 128) - 0.714136 * (cr - 128)),
            clampByte(y + 1.772 * (cb - 128))};
}

// An uncompressed 256 x 256 YCbCr TIFF with subX x subY chroma blocks, stored as the format
// lays them out (each block's luma samples, then its Cb and Cr), and the colours it holds.
Bytes writeSubsampledTiff(const std::string& path, uint16_t subX, uint16_t subY) {
    constexpr int kSide = 256;
    const auto luma = [](int x, int y) { return (x + 2 * y) & 255; };
    const auto cb = [](int bx, int) { return 96 + (bx * 5) % 64; };
    const auto cr = [](int, int by) { return 96 + (by * 3) % 64; };
    Bytes stored;
    Bytes rgb(size_t{kSide} * kSide * 3);
    for (int by = 0; by < kSide / subY; ++by)
        for (int bx = 0; bx < kSide / subX; ++bx) {
            for (int j = 0; j < subY; ++j)
                for (int i = 0; i < subX; ++i) {
                    const int x = bx * subX + i;
                    const int y = by * subY + j;
                    stored.push_back(static_cast<uint8_t>(luma(x, y)));
                    const auto colour = ycbcrToRgb(luma(x, y), cb(bx, by), cr(bx, by));
                    std::copy(colour.begin(), colour.end(), rgb.begin() + (y * kSide + x) * 3);
                }
            stored.push_back(static_cast<uint8_t>(cb(bx, by)));
            stored.push_back(static_cast<uint8_t>(cr(bx, by)));
        }
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    if (!tif)
        return {};
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t{kSide});
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t{kSide});
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, uint16_t{8});
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, uint16_t{3});
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_YCBCR);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(tif, TIFFTAG_YCBCRSUBSAMPLING, subX, subY);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, uint32_t{kSide});
    const bool ok =
        TIFFWriteRawStrip(tif, 0, stored.data(), static_cast<tmsize_t>(stored.size())) ==
        static_cast<tmsize_t>(stored.size());
    TIFFClose(tif);
    return ok ? rgb : Bytes{};
}

::testing::AssertionResult closeTo(const ImageRecord& image, const Bytes& rgb, int tolerance) {
    if (image.bufferSize() != rgb.size())
        return ::testing::AssertionFailure()
               << "size " << image.bufferSize() << " vs " << rgb.size();
    for (size_t i = 0; i < rgb.size(); ++i)
        if (std::abs(image.pixels()[i] - rgb[i]) > tolerance)
            return ::testing::AssertionFailure()
                   << "byte " << i << ": " << int{image.pixels()[i]} << " vs " << int{rgb[i]};
    return ::testing::AssertionSuccess();
}

TEST_F(DecoderAcceptanceTest, SubsampledYcbcrTiffsConvertUncompressedAndJpegCompressed) {
    for (const auto& [subX, subY] : {std::pair<uint16_t, uint16_t>{2, 2}, {2, 1}}) {
        SCOPED_TRACE(std::to_string(subX) + "x" + std::to_string(subY));
        const Bytes rgb = writeSubsampledTiff(work("ycbcr.tif"), subX, subY);
        ASSERT_FALSE(rgb.empty());
        ImageRecord image;
        ASSERT_EQ(load("ycbcr.tif", image), kLoadOk);
        EXPECT_EQ(image.width(), 256);
        EXPECT_TRUE(closeTo(image, rgb, 2));
    }

    // libtiff's JPEG codec stores YCbCr with 2x2 chroma blocks itself.
    const Bytes rgb = testing::gradient(256, 256, 3);
    TIFF* tif = TIFFOpen(work("jpeg.tif").c_str(), "w");
    ASSERT_NE(tif, nullptr);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t{256});
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t{256});
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, uint16_t{8});
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, uint16_t{3});
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_JPEG);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_YCBCR);
    TIFFSetField(tif, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
    TIFFSetField(tif, TIFFTAG_JPEGQUALITY, 95);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, uint32_t{16});
    for (uint32_t y = 0; y < 256; ++y)
        ASSERT_EQ(TIFFWriteScanline(tif, const_cast<uint8_t*>(rgb.data()) + y * 768, y, 0), 1);
    TIFFClose(tif);
    ImageRecord image;
    ASSERT_EQ(load("jpeg.tif", image), kLoadOk);
    EXPECT_TRUE(closeTo(image, rgb, 24));
}

// Offset of the `n`th marker `code` (0xFF, code) in a JPEG file; npos when there is none.
size_t findMarker(const Bytes& file, uint8_t code, int n) {
    for (size_t i = 0; i + 1 < file.size(); ++i)
        if (file[i] == 0xFF && file[i + 1] == code && n-- == 0)
            return i;
    return std::string::npos;
}

TEST_F(DecoderAcceptanceTest, JpegWithoutItsEndMarkerConvertsButOneCutShortFails) {
    struct Kind {
        const char* name;
        int scans;
    };
    for (const Kind kind :
         {Kind{"baseline", 1}, Kind{"progressive", 10}, Kind{"per component", 3}}) {
        SCOPED_TRACE(kind.name);
        const Bytes rgb = testing::gradient(67, 45, 3);
        ASSERT_TRUE(kind.scans == 3
                        ? testing::writeJpeg(work("whole.jpg"), 67, 45, 3, rgb, false, false, true)
                        : testing::writeJpeg(work("whole.jpg"), 67, 45, 3, rgb, kind.scans > 1));
        const Bytes whole = testing::readFile(work("whole.jpg"));
        ASSERT_EQ(whole[whole.size() - 2], 0xFF);
        ASSERT_EQ(whole.back(), 0xD9);
        ASSERT_NE(findMarker(whole, 0xDA, kind.scans - 1), std::string::npos);
        ImageRecord reference;
        ASSERT_EQ(load("whole.jpg", reference), kLoadOk);

        ASSERT_TRUE(testing::writeFile(work("open.jpg"), Bytes(whole.begin(), whole.end() - 2)));
        ImageRecord image;
        ASSERT_EQ(load("open.jpg", image), kLoadOk);
        EXPECT_EQ(Bytes(image.pixels(), image.pixels() + image.bufferSize()),
                  Bytes(reference.pixels(), reference.pixels() + reference.bufferSize()));
        image.release();

        // Cut inside the last scan's data: rows would be made up. Cut before the last scan:
        // a component or the last refinement is missing.
        const size_t lastScan = findMarker(whole, 0xDA, kind.scans - 1);
        std::vector<size_t> cuts = {lastScan + (whole.size() - lastScan) / 2};
        if (kind.scans > 1)
            cuts.push_back(lastScan);
        if (kind.scans == 10)
            cuts.push_back(findMarker(whole, 0xDA, 5));
        for (size_t cut : cuts) {
            SCOPED_TRACE("cut at " + std::to_string(cut));
            ASSERT_TRUE(
                testing::writeFile(work("cut.jpg"), Bytes(whole.begin(), whole.begin() + cut)));
            EXPECT_EQ(load("cut.jpg", image), kLoadUnrecognised);
            image.release();
        }
    }
}

TEST_F(DecoderAcceptanceTest, FileTwoDecodersAcceptGoesToTheEarlierOne) {
    // Every decoder before the Photo CD one meets a file of 1 MB that also carries the Photo
    // CD signature; each must win, so moving the Photo CD decoder ahead of any of them fails.
    // (The first five decoders' signatures exclude each other, so their mutual order cannot
    // show in a result.)
    const Bytes rgb = testing::gradient(5, 3, 3);
    ASSERT_TRUE(testing::writeJpeg(work("c.jpg"), 5, 3, 3, rgb));
    ASSERT_TRUE(testing::writeTiff(work("c.tif"), {{5, 3, testing::TiffKind::Rgb, 1, rgb, {}, 0}}));
    ImageRecord picture;
    ASSERT_EQ(picture.create(5, 3, 24, 0), 1);
    std::copy(rgb.begin(), rgb.end(), picture.pixels());
    PngCodec writer;
    ASSERT_EQ(writer.openWrite(work("c.png").c_str(), picture, 24, 0), 1);
    ASSERT_EQ(writer.encode(), 1);
    const std::pair<const char*, Bytes> files[] = {
        {"jpeg", testing::readFile(work("c.jpg"))}, {"bmp", testing::bmpFile(5, 3, rgb)},
        {"tiff", testing::readFile(work("c.tif"))}, {"png", testing::readFile(work("c.png"))},
        {"pcx", testing::pcx24(5, 3, rgb)},
    };
    for (const auto& [kind, bytes] : files) {
        SCOPED_TRACE(kind);
        ASSERT_LT(bytes.size(), 0x800u);
        Bytes padded = bytes;
        padded.resize(0x100000, 0);
        std::memcpy(padded.data() + 0x800, "PCD_IPI", 7);
        ASSERT_TRUE(testing::writeFile(work("both"), padded));
        ImageRecord image;
        ASSERT_EQ(load("both", image), kLoadOk);
        EXPECT_EQ(image.width(), 5);
        EXPECT_EQ(image.height(), 3);
    }

    // A real-sized bitmap whose pixels happen to hold the signature at 0x800.
    Bytes bmp = testing::bmpFile(640, 560, testing::gradient(640, 560, 3));
    ASSERT_GE(bmp.size(), 0x100000u);
    std::memcpy(bmp.data() + 0x800, "PCD_IPI", 7);
    ASSERT_TRUE(testing::writeFile(work("big.bmp"), bmp));
    ImageRecord image;
    ASSERT_EQ(load("big.bmp", image), kLoadOk);
    EXPECT_EQ(image.width(), 640);
    EXPECT_EQ(image.height(), 560);
}

} // namespace
} // namespace kelvarn::testing
