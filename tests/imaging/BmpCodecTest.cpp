#include "imaging/BmpCodec.h"
#include "imaging/RedBlueSwap.h"
#include "platform/files/LittleEndian.h"
#include "tests/imaging/TestPictures.h"
#include "tests/support/PictureFiles.h"
#include "tests/support/ScratchFolderTest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <utility>
#include <vector>

namespace kelvarn::testing {
using namespace kelvarn::imaging;
namespace {

namespace fs = std::filesystem;
using testing::Bytes;

class BmpCodecTest : public testing::ScratchFolderTest {
protected:
    std::string write(const std::string& name, const Bytes& bytes) {
        const std::string path = work(name);
        testing::writeFile(path, bytes);
        return path;
    }
    void readsEveryAcceptedLayout(int32_t width, int32_t height);
};

using testing::BmpLayout;
using Form = testing::BmpForm;

// A bitmap file of a 24-bit picture, laid out as asked.
Bytes makeBmp(const ImageRecord& picture, const BmpLayout& layout) {
    return testing::bmpFile(picture.width(), picture.height(),
                            Bytes(picture.pixels(), picture.pixels() + picture.bufferSize()),
                            layout);
}

int decodeFile(const std::string& path, ImageRecord& target) {
    BmpCodec codec;
    if (!codec.open(path.c_str(), target))
        return -1;
    return codec.decode();
}

struct ProgressLog {
    static inline std::vector<std::array<int32_t, 4>> calls;
    static void record(int32_t kind, int32_t percent, int32_t row, int32_t reserved) {
        calls.push_back({kind, percent, row, reserved});
    }
};

TEST_F(BmpCodecTest, RoundTripsOddWidthsAndOnePixelSizes) {
    const std::pair<int32_t, int32_t> sizes[] = {{1, 1}, {1, 5},  {5, 1},   {2, 2},
                                                 {3, 7}, {17, 4}, {641, 3}, {4, 4}};
    for (const auto& [width, height] : sizes) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        ImageRecord picture;
        ASSERT_EQ(picture.create(width, height, 24, 0), 1);
        testing::fillPattern(picture, static_cast<uint32_t>(width * 31 + height));
        const std::string path = work("round.bmp");
        BmpCodec writer;
        ASSERT_EQ(writer.openWrite(path.c_str(), picture, 24), 1);
        ASSERT_EQ(writer.encode(), 1);
        const size_t padded = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
        EXPECT_EQ(fs::file_size(path), padded * static_cast<size_t>(height) + 54);

        ImageRecord back;
        ASSERT_EQ(decodeFile(path, back), 1);
        EXPECT_TRUE(testing::sameImage(back, picture));
    }
}

TEST_F(BmpCodecTest, WritesTheExactHeaderAndPadding) {
    ImageRecord picture;
    ASSERT_EQ(picture.create(2, 2, 24, 0), 1);
    const uint8_t rgb[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    std::memcpy(picture.pixels(), rgb, sizeof rgb);
    const std::string path = work("two.bmp");
    BmpCodec writer;
    ASSERT_EQ(writer.openWrite(path.c_str(), picture, 24), 1);
    ASSERT_EQ(writer.encode(), 1);
    const Bytes file = testing::readFile(path);
    ASSERT_EQ(file.size(), 70u);
    const uint8_t header[54] = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  40,
                                0,   0,   0,  2, 0, 0, 0, 2, 0, 0, 0,  1, 0, 24, 0};
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 54), Bytes(header, header + 54));
    // Bottom row first, blue-green-red, each row padded to 8 bytes.
    const uint8_t rows[16] = {9, 8, 7, 12, 11, 10, 0, 0, 3, 2, 1, 6, 5, 4, 0, 0};
    EXPECT_EQ(file[54 + 0], rows[0]);
    for (int i : {0, 1, 2, 3, 4, 5, 8, 9, 10, 11, 12, 13})
        EXPECT_EQ(file[54 + i], rows[i]) << i;
}

// Padded rows (7 wide) and unpadded ones read in blocks (1024 wide: a block of 341 rows and one
// of 2, flipped in place for bottom-up files).
TEST_F(BmpCodecTest, ReadsEveryAcceptedLayoutToTheSamePicture) {
    for (const auto& [width, height] : {std::pair{7, 5}, std::pair{1024, 343}})
        readsEveryAcceptedLayout(width, height);
}

void BmpCodecTest::readsEveryAcceptedLayout(int32_t width, int32_t height) {
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
    ImageRecord picture;
    ASSERT_EQ(picture.create(width, height, 24, 0), 1);
    testing::fillPattern(picture, 7);
    const std::pair<const char*, BmpLayout> layouts[] = {
        {"bottom-up", {}},
        {"top-down", {.topDown = true}},
        {"core form", {.form = Form::Core}},
        {"BA", {.second = 'A'}},
        {"compression 3", {.compression = 3}},
        {"version 5 header", {.form = Form::V5}},
        {"gap before pixels", {.gap = 13}},
    };
    for (const auto& [name, layout] : layouts) {
        SCOPED_TRACE(name);
        ImageRecord back;
        BmpCodec codec;
        ASSERT_EQ(codec.open(write("in.bmp", makeBmp(picture, layout)).c_str(), back), 1);
        EXPECT_EQ(codec.isCoreForm(), layout.form == Form::Core);
        EXPECT_EQ(codec.isBottomUp(), !layout.topDown);
        ASSERT_EQ(codec.decode(), 1);
        EXPECT_TRUE(testing::sameImage(back, picture));
    }
}

TEST_F(BmpCodecTest, RefusesEveryOtherBitCountAndEveryRleFile) {
    ImageRecord picture;
    ASSERT_EQ(picture.create(6, 3, 24, 0), 1);
    const std::pair<const char*, BmpLayout> layouts[] = {
        {"1 bit", {.bits = 1}},
        {"4 bits", {.bits = 4}},
        {"8 bits", {.bits = 8}},
        {"16 bits", {.bits = 16}},
        {"32 bits", {.bits = 32}},
        {"RLE8", {.bits = 8, .compression = 1}},
        {"RLE4", {.bits = 4, .compression = 2}},
        {"RLE flag on a 24-bit count", {.bits = 24, .compression = 1}},
        {"compression 4", {.compression = 4}},
        {"core 16 bits", {.form = Form::Core, .bits = 16}},
        {"core 32 bits", {.form = Form::Core, .bits = 32}},
    };
    for (const auto& [name, layout] : layouts) {
        SCOPED_TRACE(name);
        ImageRecord target;
        EXPECT_EQ(decodeFile(write("in.bmp", makeBmp(picture, layout)), target), -1);
        EXPECT_EQ(target.pixels(), nullptr);
    }
}

TEST_F(BmpCodecTest, RefusesHostileHeadersBeforeAllocating) {
    ImageRecord picture;
    ASSERT_EQ(picture.create(4, 3, 24, 0), 1);
    const Bytes good = makeBmp(picture, {});
    auto patched = [&](size_t at, uint32_t value) {
        Bytes copy = good;
        platform::storeLe32(&copy[at], value);
        return copy;
    };
    const std::pair<const char*, Bytes> files[] = {
        {"empty", {}},
        {"signature only", {'B', 'M'}},
        {"other signature",
         [&] {
             Bytes b = good;
             b[1] = 'X';
             return b;
         }()},
        {"pixel offset 0", patched(10, 0)},
        {"pixel offset 13", patched(10, 13)},
        {"header block below 12 bytes", patched(10, 25)},
        {"information header below 20 bytes",
         [&] {
             Bytes b = patched(10, 14 + 16);
             platform::storeLe32(&b[14], 16);
             return b;
         }()},
        {"pixel offset beyond the file", patched(10, static_cast<uint32_t>(good.size() + 1))},
        {"pixel offset 4 GB", patched(10, 0xFFFFFFF0)},
        {"width 0", patched(18, 0)},
        {"negative width", patched(18, static_cast<uint32_t>(-4))},
        {"height 0", patched(22, 0)},
        {"lowest height", patched(22, 0x80000000)},
        {"above 2^31 pixel bytes",
         [&] {
             Bytes b = patched(18, 0x10000);
             platform::storeLe32(&b[22], 0xB000);
             return b;
         }()},
        {"rows beyond the file", patched(22, 4)},
        {"truncated last row", Bytes(good.begin(), good.end() - 1)},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        ImageRecord target;
        EXPECT_EQ(decodeFile(write("bad.bmp", bytes), target), -1);
        // A refused file leaves no name in the temporary folder, while pictures live as after.
        EXPECT_EQ(entries(tmpFolder()), std::vector<std::string>{});
    }
    ImageRecord target;
    EXPECT_EQ(decodeFile(work("no such file.bmp"), target), -1);
    EXPECT_EQ(decodeFile(work(""), target), -1);
}

TEST_F(BmpCodecTest, AFileThatShrinksAfterOpenFailsTheDecodeCleanly) {
    ImageRecord picture;
    ASSERT_EQ(picture.create(9, 40000, 24, 0), 1); // larger than the stream buffer
    const std::string path = write("shrinks.bmp", makeBmp(picture, {}));
    ImageRecord target;
    BmpCodec codec;
    ASSERT_EQ(codec.open(path.c_str(), target), 1);
    fs::resize_file(path, 54 + 28 * 20);
    EXPECT_EQ(codec.decode(), 0);
    EXPECT_EQ(codec.decode(), 0); // closed
    // The target keeps what was created; releasing it deletes its pixel file.
    EXPECT_EQ(target.width(), 9);
    target.release();
}

TEST_F(BmpCodecTest, ReportsProgressPerRowAndOnceMoreAtTheEnd) {
    ImageRecord picture;
    ASSERT_EQ(picture.create(3, 3, 24, 0), 1);
    const std::string path = work("progress.bmp");
    ProgressLog::calls.clear();
    BmpCodec writer;
    ASSERT_EQ(writer.openWrite(path.c_str(), picture, 24, &ProgressLog::record), 1);
    ASSERT_EQ(writer.encode(), 1);
    using Call = std::array<int32_t, 4>;
    EXPECT_EQ(ProgressLog::calls,
              (std::vector<Call>{{0, 33, 0, 0}, {0, 66, 1, 0}, {0, 100, 2, 0}, {0, 100, 2, 0}}));

    ProgressLog::calls.clear();
    ImageRecord back;
    BmpCodec reader;
    ASSERT_EQ(reader.open(path.c_str(), back, &ProgressLog::record), 1);
    ASSERT_EQ(reader.decode(), 1);
    EXPECT_EQ(ProgressLog::calls,
              (std::vector<Call>{{1, 33, 0, 0}, {1, 66, 1, 0}, {1, 100, 2, 0}, {1, 100, 2, 0}}));
}

TEST_F(BmpCodecTest, OpenForWritingRefusesWhatItCannotWrite) {
    ImageRecord picture;
    ASSERT_EQ(picture.create(2, 2, 24, 0), 1);
    ImageRecord empty;
    ImageRecord grey;
    ASSERT_EQ(grey.create(2, 2, 8, 0), 1);
    BmpCodec writer;
    // A refused open leaves the file it created, empty.
    EXPECT_EQ(writer.openWrite(work("depth16.bmp").c_str(), picture, 16), 0);
    EXPECT_EQ(fs::file_size(work("depth16.bmp")), 0u);
    EXPECT_EQ(writer.openWrite(work("empty.bmp").c_str(), empty, 24), 0);
    EXPECT_EQ(fs::file_size(work("empty.bmp")), 0u);
    // The writer takes 3 bytes per pixel: a source of another depth would be read past its end.
    EXPECT_EQ(writer.openWrite(work("grey.bmp").c_str(), grey, 24), 0);
    EXPECT_EQ(writer.openWrite(work("missing/dir.bmp").c_str(), picture, 24), 0);
    EXPECT_EQ(writer.encode(), 0);
}

// The vector swap covers five pixels a step and leaves the rest to bytes: every count around
// those steps, in place and not, and not a byte beyond the pixels.
TEST(RedBlueSwapTest, SwapsFirstAndThirdByteOfEveryPixelAndNothingElse) {
    for (size_t pixels = 0; pixels <= 23; ++pixels) {
        std::vector<uint8_t> from(3 * pixels + 1);
        for (size_t i = 0; i < from.size(); ++i)
            from[i] = static_cast<uint8_t>(i * 7 + 1);
        std::vector<uint8_t> want = from;
        for (size_t p = 0; p < pixels; ++p)
            std::swap(want[3 * p], want[3 * p + 2]);
        std::vector<uint8_t> to(from.size(), 0xEE);
        swapRedBlue(from.data(), to.data(), pixels);
        want.back() = 0xEE;
        EXPECT_EQ(to, want) << pixels << " pixels";
        want.back() = from.back();
        swapRedBlue(from.data(), pixels);
        EXPECT_EQ(from, want) << pixels << " pixels in place";
    }
}

} // namespace
} // namespace kelvarn::testing
