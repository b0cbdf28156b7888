// Pictures that announce more pixel memory than a picture may have, and small files that
// announce pictures far larger than their data could ever fill: each is refused before pixel
// memory is taken, quickly, and leaves no pixel file (the fixture checks the temporary folder).

#include "imaging/ImageRecord.h"
#include "imaging/LoaderChain.h"
#include "imaging/TiffDecoder.h"
#include "tests/imaging/HostileInputTest.h"

#include <chrono>

#include <tiffio.h>

namespace kelvarn::testing {
using namespace kelvarn::imaging;
namespace {

using kelvarn::testing::Bytes;

class ResourceLimitTest : public kelvarn::testing::ScratchFolderTest {
protected:
    struct Case {
        const char* name;
        Bytes bytes;
    };

    // Each case, loaded through the whole chain, is refused as unrecognised in under a second.
    void expectRefusedWithinASecond(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            double seconds = 0;
            EXPECT_EQ(load(c.name, c.bytes, seconds), kLoadUnrecognised) << c.name;
            EXPECT_LT(seconds, 1.0) << c.name;
        }
    }

    // Loads `bytes` through the whole chain; the elapsed seconds go to `seconds`.
    int load(const std::string& name, const Bytes& bytes, double& seconds) {
        EXPECT_TRUE(kelvarn::testing::writeFile(work(name), bytes));
        ImageRecord image;
        const auto start = std::chrono::steady_clock::now();
        const int result = LoadImageFile(work(name).c_str(), image);
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        image.release();
        return result;
    }

    Bytes tiffGrey(int width, int height) {
        testing::TiffPage page;
        page.width = width;
        page.height = height;
        page.kind = testing::TiffKind::Grey;
        page.samples = testing::gradient(width, height, 1);
        page.rowsPerStrip = 0xFFFFFFFF;
        EXPECT_TRUE(testing::writeTiff(work("seed.tif"), {page}));
        return testing::readFile(work("seed.tif"));
    }
};

TEST_F(ResourceLimitTest, EveryDecoderRefusesPicturesAboveTwoGigabytesBeforeAllocating) {
    std::vector<Case> cases;

    // BMP: 30000 x 30000 at 3 bytes a pixel is 2.7 GB.
    Bytes bmp = testing::bmpFile(2, 2, testing::gradient(2, 2, 3));
    for (int at : {18, 22}) {
        bmp[at] = 0x30;
        bmp[at + 1] = 0x75;
        bmp[at + 2] = bmp[at + 3] = 0;
    }
    cases.push_back({"big.bmp", bmp});
    // PNG: 40000 x 20000 RGB is 2.4 GB.
    cases.push_back({"big.png", testing::pngFile(40000, 20000, 2, testing::deflated(Bytes(64)))});
    // JPEG: 65000 x 65000 RGB.
    ASSERT_TRUE(testing::writeJpeg(work("seed.jpg"), 16, 16, 3, testing::gradient(16, 16, 3)));
    Bytes jpeg = testing::readFile(work("seed.jpg"));
    ASSERT_TRUE(testing::patchJpegSize(jpeg, 65000, 65000));
    cases.push_back({"big.jpg", jpeg});
    // TIFF: 40000 x 40000 (the RGBA raster alone would be 6.4 GB).
    Bytes tiff = tiffGrey(4, 4);
    ASSERT_TRUE(testing::patchTiffSize(tiff, 40000, 40000));
    cases.push_back({"big.tif", tiff});
    // PCX: 65535 x 65535 at 24 bits, with enough bytes behind the header to pass for data.
    testing::PcxHeader header;
    header.xmax = header.ymax = 65534;
    header.planes = 3;
    header.bytesPerLine = 65535;
    Bytes pcx = testing::pcxHeader(header);
    pcx.resize(pcx.size() + 100000, 0xC1);
    cases.push_back({"big.pcx", pcx});

    expectRefusedWithinASecond(cases);
}

TEST_F(ResourceLimitTest, SmallFilesAnnouncingHugePicturesAreRefusedWithinASecond) {
    // Each stays below the pixel limit, so only the data behind the header can tell: a few
    // hundred bytes cannot hold a picture of a gigabyte, whatever the compression.
    std::vector<Case> cases;
    cases.push_back(
        {"bomb.png", testing::pngFile(20000, 20000, 2, testing::deflated(Bytes(4000)))});
    cases.push_back(
        {"bomb_grey.png", testing::pngFile(40000, 40000, 0, testing::deflated(Bytes(4000)))});
    Bytes tiff = tiffGrey(64, 4);
    ASSERT_TRUE(testing::patchTiffSize(tiff, 20000, 20000));
    cases.push_back({"bomb.tif", tiff});
    Bytes bmp = testing::bmpFile(2, 2, testing::gradient(2, 2, 3));
    for (int at : {18, 22}) {
        bmp[at] = 0x20;
        bmp[at + 1] = 0x4E; // 20000
    }
    cases.push_back({"bomb.bmp", bmp});
    ASSERT_TRUE(testing::writeJpeg(work("seed.jpg"), 16, 16, 3, testing::gradient(16, 16, 3)));
    Bytes jpeg = testing::readFile(work("seed.jpg"));
    ASSERT_TRUE(testing::patchJpegSize(jpeg, 20000, 20000));
    cases.push_back({"bomb.jpg", jpeg});
    testing::PcxHeader header;
    header.xmax = header.ymax = 19999;
    header.planes = 3;
    header.bytesPerLine = 20000;
    Bytes pcx = testing::pcxHeader(header);
    pcx.resize(pcx.size() + 2000, 0xFF);
    cases.push_back({"bomb.pcx", pcx});

    expectRefusedWithinASecond(cases);
}

TEST_F(ResourceLimitTest, TiffWithTooLittleOrDamagedDataFailsAndTooLittleFailsBeforeAllocating) {
    // Zeros in deflate strips come close to deflate's best ratio; such a file must still be read.
    const int side = 2048;
    testing::TiffPage flat;
    flat.width = flat.height = side;
    flat.kind = testing::TiffKind::Grey;
    flat.samples = Bytes(size_t{side} * side, 0);
    flat.compression = COMPRESSION_ADOBE_DEFLATE;
    flat.rowsPerStrip = side;
    ASSERT_TRUE(testing::writeTiff(work("flat.tif"), {flat}));
    const Bytes file = testing::readFile(work("flat.tif"));
    ASSERT_GT(flat.samples.size() / file.size(), 500u);
    ImageRecord image;
    TiffDecoder decoder;
    ASSERT_EQ(decoder.open(work("flat.tif").c_str(), image), 1);
    EXPECT_EQ(decoder.decode(), 1);
    image.release();

    // The same strip announced as a picture of 16000 x 16000, and an uncompressed picture
    // announced likewise: each fails without reserving the picture's pixels.
    Bytes bomb = file;
    ASSERT_TRUE(testing::patchTiffSize(bomb, 16000, 16000));
    ASSERT_TRUE(testing::writeFile(work("bomb.tif"), bomb));
    testing::TiffPage plain = flat;
    plain.width = plain.height = 1000;
    plain.samples = Bytes(1000000, 9);
    plain.compression = COMPRESSION_NONE;
    plain.rowsPerStrip = 0;
    ASSERT_TRUE(testing::writeTiff(work("plain.tif"), {plain}));
    Bytes plainBomb = testing::readFile(work("plain.tif"));
    ASSERT_TRUE(testing::patchTiffSize(plainBomb, 16000, 16000));
    ASSERT_TRUE(testing::writeFile(work("plain_bomb.tif"), plainBomb));
    // Damaged compressed data in a strip of the real file: a failure, not a picture with a hole.
    Bytes damaged = file;
    for (size_t i = 12; i < 40; ++i)
        damaged[i] ^= 0x5A;
    ASSERT_TRUE(testing::writeFile(work("damaged.tif"), damaged));
    ASSERT_EQ(decoder.open(work("damaged.tif").c_str(), image), 1);
    EXPECT_EQ(decoder.decode(), 0);
    image.release();
    for (const char* name : {"bomb.tif", "plain_bomb.tif"}) {
        ASSERT_EQ(decoder.open(work(name).c_str(), image), 1) << name;
        EXPECT_EQ(decoder.decode(), 0) << name;
        EXPECT_EQ(image.pixels(), nullptr) << name;
    }
}

} // namespace
} // namespace kelvarn::testing
