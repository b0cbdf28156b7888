#include "imaging/PngCodec.h"
#include "tests/imaging/TestPictures.h"
#include "tests/support/FileBytes.h"
#include "tests/support/PngFiles.h"
#include "tests/support/ScratchFolderTest.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <random>

namespace kelvarn::testing {
using namespace kelvarn::imaging;
namespace {

namespace fs = std::filesystem;
using testing::Bytes;
using testing::PngFileLayout;

class PngCodecTest : public testing::ScratchFolderTest {
protected:
    std::string write(const PngFileLayout& layout, const std::string& name = "in.png") {
        const std::string path = work(name);
        EXPECT_TRUE(testing::writePngFile(path, layout));
        return path;
    }
    std::string encodeToFile(const ImageRecord& source, int32_t depth, int32_t paletteCount,
                             const std::string& name = "out.png") {
        const std::string path = work(name);
        PngCodec writer;
        EXPECT_EQ(writer.openWrite(path.c_str(), source, depth, paletteCount), 1);
        EXPECT_EQ(writer.encode(), 1);
        return path;
    }
};

int decodeFile(const std::string& path, ImageRecord& target, PngCodec& codec) {
    if (!codec.open(path.c_str(), target))
        return -1;
    return codec.decode();
}

int decodeFile(const std::string& path, ImageRecord& target) {
    PngCodec codec;
    return decodeFile(path, target, codec);
}

// Samples of `bitDepth` bits, packed most significant first as PNG rows are.
Bytes packRow(const std::vector<uint8_t>& samples, int bitDepth) {
    Bytes row((samples.size() * static_cast<size_t>(bitDepth) + 7) / 8, 0);
    for (size_t i = 0; i < samples.size(); ++i) {
        const size_t bit = i * static_cast<size_t>(bitDepth);
        row[bit / 8] |= static_cast<uint8_t>(samples[i] << (8 - bitDepth - bit % 8));
    }
    return row;
}

// A picture of one-sample pixels below 2^bitDepth, as samples and as a PNG layout.
struct SampledPicture {
    std::vector<uint8_t> samples;
    PngFileLayout layout;
};

SampledPicture makeSampled(int colourType, int bitDepth, bool interlaced, uint32_t width = 13,
                           uint32_t height = 11) {
    SampledPicture picture;
    picture.layout.width = width;
    picture.layout.height = height;
    picture.layout.colourType = colourType;
    picture.layout.bitDepth = bitDepth;
    picture.layout.interlaced = interlaced;
    std::mt19937 random(static_cast<uint32_t>(bitDepth * 17 + colourType));
    for (uint32_t y = 0; y < height; ++y) {
        std::vector<uint8_t> row;
        for (uint32_t x = 0; x < width; ++x)
            row.push_back(static_cast<uint8_t>(random() % (1u << bitDepth)));
        picture.samples.insert(picture.samples.end(), row.begin(), row.end());
        const Bytes packed = packRow(row, bitDepth);
        picture.layout.rows.insert(picture.layout.rows.end(), packed.begin(), packed.end());
    }
    return picture;
}

TEST_F(PngCodecTest, ReadsGreyOfEveryDepthAsEightBitLevels) {
    for (int depth : {1, 2, 4, 8})
        for (bool interlaced : {false, true}) {
            SCOPED_TRACE("depth " + std::to_string(depth) + (interlaced ? " interlaced" : ""));
            const SampledPicture picture = makeSampled(PNG_COLOR_TYPE_GRAY, depth, interlaced);
            ImageRecord image;
            PngCodec codec;
            ASSERT_EQ(codec.open(write(picture.layout).c_str(), image), 1);
            EXPECT_EQ(codec.pixelFormat(), PngCodec::kFormatGrey);
            EXPECT_EQ(codec.bitDepth(), depth);
            ASSERT_EQ(codec.decode(), 1);
            ASSERT_EQ(image.bitsPerPixel(), 8);
            EXPECT_EQ(image.paletteCount(), 0);
            ASSERT_EQ(image.bufferSize(), picture.samples.size());
            const int top = (1 << depth) - 1;
            for (size_t i = 0; i < picture.samples.size(); ++i)
                ASSERT_EQ(image.pixels()[i], picture.samples[i] * 255 / top) << i;
        }
}

TEST_F(PngCodecTest, ReadsPaletteFilesAsIndexesWithTheirPalette) {
    for (int depth : {1, 2, 4, 8})
        for (bool interlaced : {false, true}) {
            SCOPED_TRACE("depth " + std::to_string(depth) + (interlaced ? " interlaced" : ""));
            SampledPicture picture = makeSampled(PNG_COLOR_TYPE_PALETTE, depth, interlaced);
            const int count = 1 << depth;
            for (int i = 0; i < count; ++i)
                picture.layout.palette.push_back({static_cast<uint8_t>(i),
                                                  static_cast<uint8_t>(255 - i),
                                                  static_cast<uint8_t>(i * 3)});
            ImageRecord image;
            ASSERT_EQ(decodeFile(write(picture.layout), image), 1);
            ASSERT_EQ(image.bitsPerPixel(), 8);
            ASSERT_EQ(image.paletteCount(), count);
            EXPECT_EQ(Bytes(image.pixels(), image.pixels() + image.bufferSize()), picture.samples);
            for (int i = 0; i < count; ++i) {
                const uint8_t* entry = image.paletteEntries() + i * 8;
                EXPECT_EQ(entry[0], i);
                EXPECT_EQ(entry[1], 255 - i);
                EXPECT_EQ(entry[2], static_cast<uint8_t>(i * 3));
            }
        }
}

TEST_F(PngCodecTest, ReadsRgbAsItIsAndRgbaWithAlphaFirst) {
    for (bool interlaced : {false, true}) {
        SCOPED_TRACE(interlaced ? "interlaced" : "not interlaced");
        PngFileLayout rgb = makeSampled(PNG_COLOR_TYPE_RGB, 8, interlaced).layout;
        rgb.rows.resize(testing::packedRowBytes(rgb) * rgb.height);
        std::mt19937 random(5);
        for (auto& b : rgb.rows)
            b = static_cast<uint8_t>(random());
        ImageRecord image;
        PngCodec codec;
        ASSERT_EQ(codec.open(write(rgb).c_str(), image), 1);
        EXPECT_EQ(codec.interlaceMethod(), interlaced ? 1 : 0);
        EXPECT_EQ(codec.pixelFormat(), PngCodec::kFormatRgb);
        ASSERT_EQ(codec.decode(), 1);
        ASSERT_EQ(image.bitsPerPixel(), 24);
        EXPECT_EQ(Bytes(image.pixels(), image.pixels() + image.bufferSize()), rgb.rows);

        PngFileLayout rgba = rgb;
        rgba.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
        rgba.rows.resize(testing::packedRowBytes(rgba) * rgba.height);
        for (auto& b : rgba.rows)
            b = static_cast<uint8_t>(random());
        ASSERT_EQ(decodeFile(write(rgba), image), 1);
        ASSERT_EQ(image.bitsPerPixel(), 32);
        ASSERT_EQ(image.bufferSize(), rgba.rows.size());
        for (size_t i = 0; i < rgba.rows.size(); i += 4) {
            const uint8_t expected[4] = {rgba.rows[i + 3], rgba.rows[i], rgba.rows[i + 1],
                                         rgba.rows[i + 2]};
            ASSERT_EQ(std::memcmp(image.pixels() + i, expected, 4), 0) << i;
        }
    }
}

TEST_F(PngCodecTest, GreyWithAlphaLosesTheAlphaInsteadOfOverrunningRows) {
    // Colour type 4: grey and alpha bytes alternate.
    PngFileLayout greyAlpha;
    greyAlpha.width = 9;
    greyAlpha.height = 7;
    greyAlpha.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
    for (uint32_t i = 0; i < 9 * 7; ++i) {
        greyAlpha.rows.push_back(static_cast<uint8_t>(i * 4));
        greyAlpha.rows.push_back(static_cast<uint8_t>(255 - i));
    }
    ImageRecord image;
    ASSERT_EQ(decodeFile(write(greyAlpha), image), 1);
    ASSERT_EQ(image.bitsPerPixel(), 8);
    ASSERT_EQ(image.bufferSize(), 63u);
    for (uint32_t i = 0; i < 63; ++i)
        ASSERT_EQ(image.pixels()[i], i * 4);

    // Low-depth grey with tRNS: the expansion would add an alpha sample.
    for (bool interlaced : {false, true}) {
        SampledPicture picture = makeSampled(PNG_COLOR_TYPE_GRAY, 2, interlaced);
        picture.layout.transparentColour = png_color_16{0, 0, 0, 0, 1};
        ASSERT_EQ(decodeFile(write(picture.layout), image), 1);
        ASSERT_EQ(image.bufferSize(), picture.samples.size());
        for (size_t i = 0; i < picture.samples.size(); ++i)
            ASSERT_EQ(image.pixels()[i], picture.samples[i] * 85) << i;
    }
}

TEST_F(PngCodecTest, GammaComesFromSrgbThenGamaThenTheDefault) {
    PngFileLayout ramp;
    ramp.width = 256;
    ramp.height = 1;
    for (int v = 0; v < 256; ++v)
        ramp.rows.insert(ramp.rows.end(), 3, static_cast<uint8_t>(v));

    struct Case {
        const char* name;
        std::optional<double> gamma;
        bool srgb;
        double fileGamma;
        bool corrected;
    };
    const Case cases[] = {{"neither", std::nullopt, false, PngCodec::kDefaultFileGamma, false},
                          {"sRGB", std::nullopt, true, PngCodec::kDefaultFileGamma, false},
                          {"sRGB and gAMA 1.0", 1.0, true, PngCodec::kDefaultFileGamma, false},
                          {"gAMA 1.0", 1.0, false, 1.0, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PngFileLayout layout = ramp;
        layout.srgb = c.srgb;
        std::string path;
        if (c.srgb && c.gamma) {
            // libpng refuses to write a gAMA that contradicts sRGB: add it by hand.
            Bytes file = testing::readFile(write(layout));
            const uint8_t one[4] = {0, 1, 0x86, 0xA0}; // 100000
            testing::insertChunkBeforeIdat(file, "gAMA", Bytes(one, one + 4));
            path = work("both.png");
            testing::writeFile(path, file);
        } else {
            layout.gamma = c.gamma;
            path = write(layout);
        }
        ImageRecord image;
        PngCodec codec;
        ASSERT_EQ(decodeFile(path, image, codec), 1);
        EXPECT_DOUBLE_EQ(codec.fileGamma(), c.fileGamma);
        for (int v = 0; v < 256; ++v) {
            const double expected = c.corrected ? 255.0 * std::pow(v / 255.0, 1.0 / 2.2) : v;
            ASSERT_NEAR(image.pixels()[v * 3], expected, 1.0) << v;
        }
    }
}

TEST_F(PngCodecTest, RefusesSixteenBitAndDamagedFiles) {
    for (int colourType : {PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_RGB, PNG_COLOR_TYPE_RGB_ALPHA}) {
        PngFileLayout deep = makeSampled(colourType, 8, false, 3, 2).layout;
        deep.bitDepth = 16;
        deep.rows.assign(testing::packedRowBytes(deep) * deep.height, 0x42);
        ImageRecord image;
        EXPECT_EQ(decodeFile(write(deep), image), -1) << colourType;
        EXPECT_EQ(image.pixels(), nullptr);
    }

    PngFileLayout rgb = makeSampled(PNG_COLOR_TYPE_RGB, 8, true, 40, 30).layout;
    rgb.rows.assign(testing::packedRowBytes(rgb) * rgb.height, 0);
    for (size_t i = 0; i < rgb.rows.size(); ++i)
        rgb.rows[i] = static_cast<uint8_t>(i * 2654435761u >> 24);
    const Bytes good = testing::readFile(write(rgb, "good.png"));
    ImageRecord image;

    // Not a PNG at all, or cut inside the header: refused by open.
    testing::writeFile(work("bmp.png"), Bytes{'B', 'M', 0, 0, 0, 0});
    EXPECT_EQ(decodeFile(work("bmp.png"), image), -1);
    testing::writeFile(work("short.png"), Bytes(good.begin(), good.begin() + 20));
    EXPECT_EQ(decodeFile(work("short.png"), image), -1);
    testing::writeFile(work("empty.png"), {});
    EXPECT_EQ(decodeFile(work("empty.png"), image), -1);
    EXPECT_EQ(decodeFile(work("missing.png"), image), -1);

    // Cut inside the image data, or with damaged image data: the decode fails cleanly.
    testing::writeFile(work("cut.png"), Bytes(good.begin(), good.begin() + good.size() / 2));
    EXPECT_EQ(decodeFile(work("cut.png"), image), 0);
    Bytes damaged = good;
    damaged[good.size() / 2] ^= 0xFF;
    testing::writeFile(work("damaged.png"), damaged);
    EXPECT_EQ(decodeFile(work("damaged.png"), image), 0);
    image.release();

    // A header above 2^31 pixel bytes is refused before anything is allocated.
    PngFileLayout huge = makeSampled(PNG_COLOR_TYPE_RGB, 8, false, 1, 1).layout;
    huge.rows.assign(3, 0);
    Bytes big = testing::readFile(write(huge, "huge.png"));
    const uint8_t size[8] = {0, 0, 0x80, 0, 0, 0, 0x80, 0}; // 32768 x 32768 x 3
    std::memcpy(&big[16], size, 8);
    testing::fixChunkCrc(big, 8);
    testing::writeFile(work("huge.png"), big);
    PngCodec codec;
    EXPECT_EQ(codec.open(work("huge.png").c_str(), image), 0);
    EXPECT_EQ(image.pixels(), nullptr);
}

TEST_F(PngCodecTest, RefusesFilesTooShortForTheirPictureButNotHighlyCompressedOnes) {
    // All zeros compress close to deflate's best ratio; such a file must still be read.
    PngFileLayout flat;
    flat.width = flat.height = 4096;
    flat.colourType = PNG_COLOR_TYPE_GRAY;
    flat.rows.assign(size_t{4096} * 4096, 0);
    const Bytes file = testing::readFile(write(flat, "flat.png"));
    ASSERT_GT(flat.rows.size() / file.size(), 500u);
    ImageRecord image;
    EXPECT_EQ(decodeFile(work("flat.png"), image), 1);
    EXPECT_EQ(image.row(4095)[4095], 0);
    image.release();

    // The same file announcing 16384 x 16384 cannot hold the picture: refused at open, before
    // the pixel memory is taken. So is a cut copy of the real one.
    Bytes bomb = file;
    const uint8_t size[8] = {0, 0, 0x40, 0, 0, 0, 0x40, 0};
    std::memcpy(&bomb[16], size, 8);
    testing::fixChunkCrc(bomb, 8);
    testing::writeFile(work("bomb.png"), bomb);
    testing::writeFile(work("cut.png"), Bytes(file.begin(), file.begin() + file.size() / 8));
    for (const char* name : {"bomb.png", "cut.png"}) {
        PngCodec codec;
        EXPECT_EQ(codec.open(work(name).c_str(), image), 0) << name;
        EXPECT_EQ(image.pixels(), nullptr) << name;
    }
}

TEST_F(PngCodecTest, WritesAdam7RgbWithOnlyTheCriticalChunksAndReadsBackTheSame) {
    const std::pair<int32_t, int32_t> sizes[] = {{1, 1}, {1, 7}, {7, 1}, {13, 5}, {64, 33}};
    for (const auto& [width, height] : sizes) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        ImageRecord picture;
        ASSERT_EQ(picture.create(width, height, 24, 0), 1);
        testing::fillPattern(picture, static_cast<uint32_t>(width + height));
        const std::string path = encodeToFile(picture, 24, 0);
        const auto chunks = testing::listPngChunks(testing::readFile(path));
        ASSERT_GE(chunks.size(), 3u);
        EXPECT_EQ(chunks.front().type, "IHDR");
        EXPECT_EQ(chunks.back().type, "IEND");
        for (size_t i = 1; i + 1 < chunks.size(); ++i)
            EXPECT_EQ(chunks[i].type, "IDAT");
        const Bytes& ihdr = chunks.front().data;
        ASSERT_EQ(ihdr.size(), 13u);
        EXPECT_EQ(ihdr[8], 8);  // bit depth
        EXPECT_EQ(ihdr[9], 2);  // RGB
        EXPECT_EQ(ihdr[12], 1); // Adam7

        ImageRecord back;
        ASSERT_EQ(decodeFile(path, back), 1);
        EXPECT_TRUE(testing::sameImage(back, picture));
    }
}

TEST_F(PngCodecTest, WritesRgbaFromArgbAndLeavesTheSourceInRgbaOrder) {
    ImageRecord picture;
    ASSERT_EQ(picture.create(5, 3, 32, 0), 1);
    testing::fillPattern(picture, 9);
    ImageRecord original;
    ASSERT_EQ(original.copyFrom(picture), 1);
    const std::string path = encodeToFile(picture, 32, 0);
    const auto chunks = testing::listPngChunks(testing::readFile(path));
    ASSERT_EQ(chunks.front().type, "IHDR");
    EXPECT_EQ(chunks.front().data[9], 6); // RGBA
    for (size_t i = 0; i < picture.bufferSize(); i += 4) {
        const uint8_t* argb = original.pixels() + i;
        const uint8_t rgba[4] = {argb[1], argb[2], argb[3], argb[0]};
        ASSERT_EQ(std::memcmp(picture.pixels() + i, rgba, 4), 0) << i;
    }
    ImageRecord back;
    ASSERT_EQ(decodeFile(path, back), 1);
    EXPECT_TRUE(testing::sameImage(back, original));
}

TEST_F(PngCodecTest, WritesPalettePicturesAsPaletteFiles) {
    ImageRecord picture;
    ASSERT_EQ(picture.create(11, 4, 8, 5), 1);
    for (size_t i = 0; i < picture.bufferSize(); ++i)
        picture.pixels()[i] = static_cast<uint8_t>(i % 5);
    for (int i = 0; i < 5; ++i) {
        uint8_t* entry = picture.paletteEntries() + i * 8;
        entry[0] = static_cast<uint8_t>(50 * i);
        entry[1] = static_cast<uint8_t>(7 + i);
        entry[2] = static_cast<uint8_t>(250 - i);
    }
    const std::string path = encodeToFile(picture, 8, 5);
    const auto chunks = testing::listPngChunks(testing::readFile(path));
    ASSERT_GE(chunks.size(), 4u);
    EXPECT_EQ(chunks[0].type, "IHDR");
    EXPECT_EQ(chunks[0].data[9], 3);
    EXPECT_EQ(chunks[1].type, "PLTE");
    EXPECT_EQ(chunks[1].data.size(), 15u);
    EXPECT_EQ(chunks[2].type, "IDAT");
    EXPECT_EQ(chunks.back().type, "IEND");
    ImageRecord back;
    ASSERT_EQ(decodeFile(path, back), 1);
    EXPECT_TRUE(testing::sameImage(back, picture));
}

TEST_F(PngCodecTest, ConvertsSourcesOfAnotherLayoutBeforeWriting) {
    ImageRecord grey;
    ASSERT_EQ(grey.create(6, 2, 8, 0), 1);
    testing::fillPattern(grey, 4);
    ImageRecord argb;
    ASSERT_EQ(argb.create(6, 2, 32, 0), 1);
    testing::fillPattern(argb, 5);
    for (ImageRecord* source : {&grey, &argb}) {
        ImageRecord before;
        ASSERT_EQ(before.copyFrom(*source), 1);
        ImageRecord expected;
        ASSERT_EQ(source->convertTo(expected, 24, 0), 1);
        const std::string path = encodeToFile(*source, 24, 0);
        EXPECT_EQ(testing::listPngChunks(testing::readFile(path)).front().data[9], 2);
        ImageRecord back;
        ASSERT_EQ(decodeFile(path, back), 1);
        EXPECT_TRUE(testing::sameImage(back, expected));
        EXPECT_TRUE(testing::sameImage(*source, before));
    }
    // No conversion to palette or alpha layouts exists: the encode fails.
    PngCodec writer;
    ASSERT_EQ(writer.openWrite(work("p.png").c_str(), grey, 8, 16), 1);
    EXPECT_EQ(writer.encode(), 0);
}

TEST_F(PngCodecTest, OpenForWritingRefusesBadDepthsAndEmptySources) {
    ImageRecord picture;
    ASSERT_EQ(picture.create(2, 2, 24, 0), 1);
    PngCodec writer;
    EXPECT_EQ(writer.openWrite(work("d16.png").c_str(), picture, 16, 0), 0);
    EXPECT_FALSE(fs::exists(work("d16.png")));
    EXPECT_EQ(writer.openWrite(work("p0.png").c_str(), picture, 8, 0), 0);
    EXPECT_EQ(writer.openWrite(work("p257.png").c_str(), picture, 8, 257), 0);
    EXPECT_FALSE(fs::exists(work("p0.png")));
    EXPECT_FALSE(fs::exists(work("p257.png")));
    ImageRecord empty;
    EXPECT_EQ(writer.openWrite(work("empty.png").c_str(), empty, 24, 0), 0);
    EXPECT_EQ(fs::file_size(work("empty.png")), 0u);
    EXPECT_EQ(writer.openWrite(work("missing/x.png").c_str(), picture, 24, 0), 0);
    EXPECT_EQ(writer.encode(), 0);
}

struct ProgressLog {
    static inline std::vector<std::array<int32_t, 4>> calls;
    static void record(int32_t kind, int32_t percent, int32_t row, int32_t reserved) {
        calls.push_back({kind, percent, row, reserved});
    }
};

TEST_F(PngCodecTest, ReportsProgressForEveryRowOfEveryPass) {
    ImageRecord picture;
    ASSERT_EQ(picture.create(3, 4, 24, 0), 1);
    const std::string path = work("progress.png");
    ProgressLog::calls.clear();
    PngCodec writer;
    ASSERT_EQ(writer.openWrite(path.c_str(), picture, 24, 0, &ProgressLog::record), 1);
    ASSERT_EQ(writer.encode(), 1);
    ASSERT_EQ(ProgressLog::calls.size(), 7u * 4 + 1);
    EXPECT_EQ(ProgressLog::calls[1], (std::array<int32_t, 4>{0, 50, 1, 0}));
    EXPECT_EQ(ProgressLog::calls.back(), (std::array<int32_t, 4>{0, 100, 3, 0}));

    ProgressLog::calls.clear();
    ImageRecord back;
    PngCodec reader;
    ASSERT_EQ(reader.open(path.c_str(), back, &ProgressLog::record), 1);
    ASSERT_EQ(reader.decode(), 1);
    ASSERT_EQ(ProgressLog::calls.size(), 7u * 4 + 1);
    EXPECT_EQ(ProgressLog::calls[2], (std::array<int32_t, 4>{1, 75, 2, 0}));
}

} // namespace
} // namespace kelvarn::testing
