#include "imaging/PngCodec.h"
#include "imaging/PngFilter.h"
#include "tests/imaging/TestPictures.h"
#include "tests/support/FileBytes.h"
#include "tests/support/PngFiles.h"
#include "tests/support/ScratchFolderTest.h"

#include <gtest/gtest.h>
#include <png.h>
#include <sys/resource.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <tuple>

namespace kelvarn::testing {
using namespace kelvarn::imaging;
namespace {

using testing::Bytes;

class PngEncoderTest : public testing::ScratchFolderTest {};

// What libpng reads from a file: the header fields and the pixels as 8-bit RGB or RGBA.
struct ReadBack {
    int colourType = -1;
    int bitDepth = 0;
    int interlace = 0;
    std::vector<std::string> chunkTypes;
    Bytes pixels;
};

ReadBack readWithLibpng(const std::string& path, bool alpha) {
    ReadBack back;
    for (const auto& chunk : testing::listPngChunks(testing::readFile(path)))
        back.chunkTypes.push_back(chunk.type);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return back;
    image.format = alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    back.pixels.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, back.pixels.data(), 0, nullptr))
        back.pixels.clear();
    png_image_free(&image);
    const Bytes file = testing::readFile(path);
    if (file.size() >= 33) { // signature, then IHDR's length, type and fields
        back.bitDepth = file[24];
        back.colourType = file[25];
        back.interlace = file[28];
    }
    return back;
}

// Half smooth, half noise, so that rows pick different filters.
void fillMixed(ImageRecord& image, uint32_t seed, int modulo) {
    std::mt19937 random(seed);
    for (int32_t y = 0; y < image.height(); ++y) {
        uint8_t* row = image.row(y);
        for (size_t x = 0; x < image.rowBytes(); ++x) {
            const auto smooth = static_cast<uint32_t>(x * 3 + static_cast<size_t>(y) * 5);
            const uint32_t value = x < image.rowBytes() / 2 ? smooth : random();
            row[x] = static_cast<uint8_t>(value % static_cast<uint32_t>(modulo));
        }
    }
}

TEST_F(PngEncoderTest, EveryColourTypeAtEverySizeReadsBackThroughLibpngUnchanged) {
    // Sizes that leave some Adam7 passes empty, and odd widths.
    const std::pair<int32_t, int32_t> sizes[] = {{1, 1}, {1, 9}, {9, 1},  {2, 3},   {7, 7},
                                                 {8, 8}, {9, 9}, {13, 5}, {31, 17}, {3, 64}};
    struct Kind {
        int32_t depth;
        int32_t paletteCount;
        int colourType;
    };
    const Kind kinds[] = {{8, 1, 3}, {8, 17, 3}, {8, 256, 3}, {24, 0, 2}, {32, 0, 6}};
    for (const Kind& kind : kinds)
        for (const auto& [width, height] : sizes) {
            SCOPED_TRACE("depth " + std::to_string(kind.depth) + "/" +
                         std::to_string(kind.paletteCount) + " " + std::to_string(width) + "x" +
                         std::to_string(height));
            ImageRecord picture;
            ASSERT_EQ(picture.create(width, height, kind.depth, kind.paletteCount), 1);
            fillMixed(picture, static_cast<uint32_t>(width * 31 + height),
                      kind.depth == 8 ? kind.paletteCount : 256);
            for (int32_t i = 0; i < kind.paletteCount; ++i) {
                uint8_t* entry = picture.paletteEntries() + i * 8;
                entry[0] = static_cast<uint8_t>(i);
                entry[1] = static_cast<uint8_t>(255 - i);
                entry[2] = static_cast<uint8_t>(i * 7);
            }
            // The file's samples: palette colours, R, G, B as they are, A, R, G, B turned.
            Bytes expected;
            for (size_t i = 0; i < picture.bufferSize(); i += picture.bitsPerPixel() / 8) {
                const uint8_t* p = picture.pixels() + i;
                if (kind.depth == 8)
                    expected.insert(expected.end(), picture.paletteEntries() + p[0] * 8,
                                    picture.paletteEntries() + p[0] * 8 + 3);
                else if (kind.depth == 24)
                    expected.insert(expected.end(), p, p + 3);
                else
                    expected.insert(expected.end(), {p[1], p[2], p[3], p[0]});
            }
            const std::string path = work("out.png");
            PngCodec writer;
            ASSERT_EQ(writer.openWrite(path.c_str(), picture, kind.depth, kind.paletteCount), 1);
            ASSERT_EQ(writer.encode(), 1);

            const ReadBack back = readWithLibpng(path, kind.depth == 32);
            EXPECT_EQ(back.colourType, kind.colourType);
            EXPECT_EQ(back.bitDepth, 8);
            EXPECT_EQ(back.interlace, 1);
            std::vector<std::string> chunks = {"IHDR"};
            if (kind.depth == 8)
                chunks.push_back("PLTE");
            chunks.push_back("IDAT");
            chunks.push_back("IEND");
            EXPECT_EQ(back.chunkTypes, chunks);
            EXPECT_EQ(back.pixels, expected);
        }
}

TEST_F(PngEncoderTest,
       SamePictureGivesTheSameBytesAndPngcheckAcceptsThemAndIndexesBeyondThePaletteStay) {
    ImageRecord picture;
    ASSERT_EQ(picture.create(37, 23, 24, 0), 1);
    fillMixed(picture, 3, 256);
    std::vector<std::string> paths;
    for (const char* name : {"a.png", "b.png"}) {
        paths.push_back(work(name));
        PngCodec writer;
        ASSERT_EQ(writer.openWrite(paths.back().c_str(), picture, 24, 0), 1);
        ASSERT_EQ(writer.encode(), 1);
    }
    EXPECT_EQ(testing::readFile(paths[0]), testing::readFile(paths[1]));

    // An index beyond the palette is written as it is, as libpng's writer wrote it.
    ImageRecord beyond;
    ASSERT_EQ(beyond.create(4, 4, 8, 3), 1);
    beyond.pixels()[13] = 3;
    PngCodec beyondWriter;
    ASSERT_EQ(beyondWriter.openWrite(work("beyond.png").c_str(), beyond, 8, 3), 1);
    EXPECT_EQ(beyondWriter.encode(), 1);
    ImageRecord beyondBack;
    PngCodec beyondReader;
    ASSERT_EQ(beyondReader.open(work("beyond.png").c_str(), beyondBack), 1);
    ASSERT_EQ(beyondReader.decode(), 1);
    EXPECT_TRUE(testing::sameImage(beyondBack, beyond));

    ImageRecord palette;
    ASSERT_EQ(palette.create(11, 6, 8, 40), 1);
    fillMixed(palette, 4, 40);
    ImageRecord argb;
    ASSERT_EQ(argb.create(6, 11, 32, 0), 1);
    fillMixed(argb, 5, 256);
    for (auto [source, depth, count] : {std::tuple{&palette, 8, 40}, std::tuple{&argb, 32, 0}}) {
        paths.push_back(work(std::to_string(depth) + ".png"));
        PngCodec writer;
        ASSERT_EQ(writer.openWrite(paths.back().c_str(), *source, depth, count), 1);
        ASSERT_EQ(writer.encode(), 1);
    }
    if (std::system("command -v pngcheck >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pngcheck is not installed (scripts/install-deps.sh installs it)";
    for (const std::string& path : paths)
        EXPECT_EQ(std::system(("pngcheck -q '" + path + "' >/dev/null").c_str()), 0) << path;
}

// The filters as the PNG standard defines them, byte by byte with a, b, c as plain ints.
uint8_t standardFilter(int type, const Bytes& row, const Bytes& above, size_t i, size_t bpp) {
    const int x = row[i];
    const int a = i >= bpp ? row[i - bpp] : 0;
    const int b = above[i];
    const int c = i >= bpp ? above[i - bpp] : 0;
    int predictor = 0;
    if (type == 1)
        predictor = a;
    else if (type == 2)
        predictor = b;
    else if (type == 3)
        predictor = (a + b) / 2;
    else {
        const int p = a + b - c;
        const int pa = std::abs(p - a);
        const int pb = std::abs(p - b);
        const int pc = std::abs(p - c);
        predictor = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
    }
    return static_cast<uint8_t>(x - predictor);
}

TEST(PngFilterTest, EveryFilterMatchesTheStandardAtEveryPixelSizeAndLength) {
    std::mt19937 random(11);
    for (size_t bpp : {1, 3, 4})
        for (size_t count : {0, 1, 2, 3, 4, 5, 15, 16, 17, 33, 100, 257}) {
            SCOPED_TRACE("bpp " + std::to_string(bpp) + " count " + std::to_string(count));
            Bytes row(count);
            Bytes above(count);
            // Extremes as well as noise: Paeth's ties and Average's carry sit at the edges.
            for (size_t i = 0; i < count; ++i) {
                row[i] = static_cast<uint8_t>(i % 5 == 0 ? 255 : random());
                above[i] = static_cast<uint8_t>(i % 7 == 0 ? 0 : random());
            }
            Bytes outs[5];
            for (Bytes& out : outs)
                out.assign(count, 0xAA);
            filterSub(row.data(), count, bpp, outs[1].data());
            filterUp(row.data(), above.data(), count, outs[2].data());
            filterAverage(row.data(), above.data(), count, bpp, outs[3].data());
            filterPaeth(row.data(), above.data(), count, bpp, outs[4].data());
            for (int type = 1; type <= 4; ++type)
                for (size_t i = 0; i < count; ++i)
                    ASSERT_EQ(outs[type][i], standardFilter(type, row, above, i, bpp))
                        << "filter " << type << " byte " << i;
        }
    const Bytes signedBytes = {0, 1, 127, 128, 129, 255};
    EXPECT_EQ(signedMagnitudeSum(signedBytes.data(), signedBytes.size()),
              0u + 1 + 127 + 128 + 127 + 1);
}

// Current address space of this process, from /proc.
uint64_t addressSpaceBytes() {
    std::ifstream statm("/proc/self/statm");
    uint64_t pages = 0;
    statm >> pages;
    return pages * 4096;
}

// Encodes with an address space that has room for a few megabytes more; 0 when encode failed.
int encodeWithLittleRoom(PngCodec& writer) {
    const uint64_t room = addressSpaceBytes() + (8u << 20);
    const rlimit limit{room, room};
    if (setrlimit(RLIMIT_AS, &limit) != 0)
        return 2;
    return writer.encode() == 0 ? 0 : 1;
}

TEST_F(PngEncoderTest, FailsWithoutCrashingWhenItsBuffersCannotBeHad) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer's allocator ends the process instead of failing";
#endif
    ImageRecord picture;
    ASSERT_EQ(picture.create(3000, 2000, 24, 0), 1); // 18 MB of pixels
    fillMixed(picture, 6, 256);
    const std::string path = work("big.png");
    PngCodec writer;
    ASSERT_EQ(writer.openWrite(path.c_str(), picture, 24, 0), 1);
    // In a child without room for the 18 MB of the filtered stream, encode reports failure.
    EXPECT_EXIT(std::_Exit(encodeWithLittleRoom(writer)), ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace kelvarn::testing
