#include "imaging/PngReader.h"
#include "imaging/PngCodec.h"
#include "imaging/PngFilter.h"
#include "imaging/PngUnfilter.h"
#include "platform/files/FileSystem.h"
#include "tests/imaging/TestPictures.h"
#include "tests/support/FileBytes.h"
#include "tests/support/PngFiles.h"
#include "tests/support/ScratchFolderTest.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace kelvarn::testing {
using namespace kelvarn::imaging;
namespace {

struct Decoded {
    int result = -1; // -1: refused at open
    bool own = false;
};

Decoded decodeWith(const std::string& path, ImageRecord& target, bool ownReader) {
    PngCodec codec;
    codec.setOwnReader(ownReader);
    Decoded decoded;
    if (codec.open(path.c_str(), target) == 1) {
        decoded.result = codec.decode();
        decoded.own = codec.ownReaderDecoded();
    }
    return decoded;
}

class PngReaderTest : public ScratchFolderTest {
protected:
    // Reads the file both ways: the result and, when decoded, every pixel must agree. Returns
    // whether the own reader took it.
    bool agreesWithLibpng(const Bytes& file) {
        const std::string path = work("in.png");
        EXPECT_TRUE(writeFile(path, file));
        ImageRecord own;
        ImageRecord reference;
        const Decoded ours = decodeWith(path, own, true);
        const Decoded theirs = decodeWith(path, reference, false);
        EXPECT_EQ(ours.result, theirs.result);
        if (ours.result == 1 && theirs.result == 1) {
            EXPECT_TRUE(sameImage(own, reference));
        }
        return ours.own;
    }
};

// Pixels with smooth runs and noise, so that libpng's writer picks every filter somewhere.
Bytes samplesFor(const PngFileLayout& layout, uint32_t seed) {
    std::mt19937 random(seed);
    const size_t rowBytes = packedRowBytes(layout);
    Bytes rows(rowBytes * layout.height);
    for (size_t y = 0; y < layout.height; ++y)
        for (size_t i = 0; i < rowBytes; ++i)
            rows[y * rowBytes + i] =
                static_cast<uint8_t>((y % 3 == 0) ? random() : (i * 7 + y * 3 + (random() & 3)));
    return rows;
}

struct Kind {
    int colourType;
    int bitDepth;
    bool transparency;
};

TEST_F(PngReaderTest, TakesCommonFilesWithLibpngsPixels) {
    const Kind kinds[] = {
        {PNG_COLOR_TYPE_GRAY, 1, false},       {PNG_COLOR_TYPE_GRAY, 2, true},
        {PNG_COLOR_TYPE_GRAY, 4, false},       {PNG_COLOR_TYPE_GRAY, 8, true},
        {PNG_COLOR_TYPE_GRAY_ALPHA, 8, false}, {PNG_COLOR_TYPE_RGB, 8, false},
        {PNG_COLOR_TYPE_RGBA, 8, false},       {PNG_COLOR_TYPE_PALETTE, 1, false},
        {PNG_COLOR_TYPE_PALETTE, 2, true},     {PNG_COLOR_TYPE_PALETTE, 4, false},
        {PNG_COLOR_TYPE_PALETTE, 8, true},
    };
    const uint32_t sizes[][2] = {{1, 1}, {3, 9}, {17, 13}, {64, 5}};
    for (const Kind& kind : kinds)
        for (const auto& size : sizes)
            for (const bool interlaced : {false, true}) {
                SCOPED_TRACE(::testing::Message()
                             << "colour type " << kind.colourType << ", depth " << kind.bitDepth
                             << ", " << size[0] << "x" << size[1] << (interlaced ? ", Adam7" : ""));
                PngFileLayout layout;
                layout.width = size[0];
                layout.height = size[1];
                layout.colourType = kind.colourType;
                layout.bitDepth = kind.bitDepth;
                layout.interlaced = interlaced;
                layout.rows = samplesFor(layout, size[0] * 31 + size[1]);
                if (kind.colourType == PNG_COLOR_TYPE_PALETTE) {
                    // Fewer entries than indexes: the indexes above stay as they are.
                    const int count = (1 << kind.bitDepth) - (kind.bitDepth > 1 ? 1 : 0);
                    for (int i = 0; i < count; ++i)
                        layout.palette.push_back(
                            {static_cast<png_byte>(i * 3), static_cast<png_byte>(255 - i), 40});
                    if (kind.transparency)
                        layout.paletteAlpha = {0, 128};
                } else if (kind.transparency) {
                    layout.transparentColour = png_color_16{0, 0, 0, 0, 1};
                }
                const std::string path = work("made.png");
                ASSERT_TRUE(writePngFile(path, layout));
                EXPECT_TRUE(agreesWithLibpng(readFile(path)));
            }
}

// Raw rows of a 5 x 4 RGB picture, each with its filter-type byte.
Bytes rawRgbRows(uint8_t filterType, int rows = 4) {
    Bytes raw;
    for (int y = 0; y < rows; ++y) {
        raw.push_back(filterType);
        for (int i = 0; i < 15; ++i)
            raw.push_back(static_cast<uint8_t>(y * 40 + i * 9));
    }
    return raw;
}

TEST_F(PngReaderTest, DeclinedFilesKeepLibpngsResult) {
    Bytes badCrc = pngFile(5, 4, 2, deflated(rawRgbRows(1)));
    const auto chunks = listPngChunks(badCrc);
    ASSERT_EQ(chunks.at(1).type, "IDAT");
    badCrc[8 + 25 + 8 + chunks[1].data.size()] ^= 0x01; // the IDAT's CRC
    Bytes withGamma = pngFile(5, 4, 2, deflated(rawRgbRows(2)));
    insertChunkBeforeIdat(withGamma, "gAMA", {0, 1, 0x86, 0xA0});

    const struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"bad IDAT CRC", badCrc},
        {"short stream", pngFile(5, 4, 2, deflated(rawRgbRows(0, 3)))},
        {"long stream", pngFile(5, 4, 2, deflated(rawRgbRows(3, 5)))},
        {"filter type 5", pngFile(5, 4, 2, deflated(rawRgbRows(5)))},
        {"gAMA", withGamma},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(agreesWithLibpng(c.file));
    }
    // The same stream with nothing wrong is the own reader's.
    EXPECT_TRUE(agreesWithLibpng(pngFile(5, 4, 2, deflated(rawRgbRows(4)))));
}

// The pixel file is made while the stream inflates; a stream found bad then leaves the record as
// it was, and a good one takes its place.
TEST_F(PngReaderTest, ADeclinedStreamLeavesTheRecordAsItWas) {
    const PngReadLayout layout{5, 4, 8, PNG_COLOR_TYPE_RGB, 0, 24, 0};
    for (const bool good : {false, true}) {
        SCOPED_TRACE(good ? "good stream" : "long stream");
        ASSERT_TRUE(
            writeFile(work("in.png"), pngFile(5, 4, 2, deflated(rawRgbRows(3, good ? 4 : 5)))));
        ImageRecord record;
        ASSERT_EQ(record.create(2, 2, 24, 0), 1);
        record.row(1)[5] = 77;
        const auto stream = platform::openStream(work("in.png"), "rb");
        ASSERT_TRUE(stream);
        EXPECT_EQ(readPngOwn(stream.get(), layout, record),
                  good ? PngReadOutcome::Decoded : PngReadOutcome::Declined);
        EXPECT_EQ(record.width(), good ? 5 : 2);
        if (!good) {
            EXPECT_EQ(record.row(1)[5], 77);
        }
    }
}

// The writer's filters apply the byte rules forwards; undoing them must give the row back, and
// the vector code must give what the byte-at-a-time reference gives, in place or not.
TEST(PngUnfilterTest, UndoesEveryFilterAtEveryPixelSizeAndWidth) {
    std::mt19937 random(7);
    for (const bool sse41 : {true, false})
        for (size_t bpp = 1; bpp <= 8; ++bpp)
            for (size_t pixels = 1; pixels <= 23; ++pixels) {
                const size_t count = bpp * pixels;
                Bytes previous(count);
                Bytes row(count);
                for (auto& b : previous)
                    b = static_cast<uint8_t>(random());
                for (auto& b : row)
                    b = static_cast<uint8_t>(random());
                Bytes filtered[5] = {row, Bytes(count), Bytes(count), Bytes(count), Bytes(count)};
                filterSub(row.data(), count, bpp, filtered[1].data());
                filterUp(row.data(), previous.data(), count, filtered[2].data());
                filterAverage(row.data(), previous.data(), count, bpp, filtered[3].data());
                filterPaeth(row.data(), previous.data(), count, bpp, filtered[4].data());
                allowSse41Unfiltering(sse41);
                for (uint8_t type = 0; type < 5; ++type) {
                    SCOPED_TRACE(::testing::Message()
                                 << "type " << int{type} << ", bpp " << bpp << ", " << pixels
                                 << " pixels, SSE4.1 " << sse41);
                    Bytes scalar(count);
                    ASSERT_TRUE(unfilterRowScalar(type, filtered[type].data(), previous.data(),
                                                  scalar.data(), count, bpp));
                    EXPECT_EQ(scalar, row);
                    Bytes vector(count);
                    ASSERT_TRUE(unfilterRow(type, filtered[type].data(), previous.data(),
                                            vector.data(), count, bpp));
                    EXPECT_EQ(vector, row);
                    Bytes inPlace = filtered[type];
                    unfilterRow(type, inPlace.data(), previous.data(), inPlace.data(), count, bpp);
                    EXPECT_EQ(inPlace, row);
                }
                Bytes untouched(count, 0xAA);
                EXPECT_FALSE(
                    unfilterRow(5, row.data(), previous.data(), untouched.data(), count, bpp));
                EXPECT_EQ(untouched, Bytes(count, 0xAA));
            }
    allowSse41Unfiltering(true);
}

// Two rows undone together (Paeth pairs run side by side) give what two single rows give.
TEST(PngUnfilterTest, RowPairsMatchSingleRows) {
    std::mt19937 random(11);
    for (const bool sse41 : {true, false})
        for (size_t bpp = 1; bpp <= 4; ++bpp)
            for (size_t pixels : {1, 2, 7, 40}) {
                const size_t count = bpp * pixels;
                Bytes previous(count), first(count), second(count);
                for (Bytes* bytes : {&previous, &first, &second})
                    for (auto& b : *bytes)
                        b = static_cast<uint8_t>(random());
                allowSse41Unfiltering(sse41);
                const uint8_t typePairs[][2] = {{4, 4}, {3, 4}};
                for (const auto& types : typePairs) {
                    Bytes want1(count), want2(count), got1(count), got2(count);
                    unfilterRowScalar(types[0], first.data(), previous.data(), want1.data(), count,
                                      bpp);
                    unfilterRowScalar(types[1], second.data(), want1.data(), want2.data(), count,
                                      bpp);
                    ASSERT_TRUE(unfilterRowPair(types, first.data(), second.data(), previous.data(),
                                                got1.data(), got2.data(), count, bpp));
                    EXPECT_EQ(got1, want1) << "bpp " << bpp << ", " << pixels << " pixels";
                    EXPECT_EQ(got2, want2) << "bpp " << bpp << ", " << pixels << " pixels";
                }
            }
    allowSse41Unfiltering(true);
}

} // namespace
} // namespace kelvarn::testing
