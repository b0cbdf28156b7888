#include "imaging/ImageRecord.h"
#include "imaging/FileUtilities.h"
#include "platform/files/UnnamedFile.h"
#include "tests/imaging/TestPictures.h"
#include "tests/support/FileBytes.h"
#include "tests/support/ScratchFolderTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace kelvarn::testing {
using namespace kelvarn::imaging;
namespace {

namespace fs = std::filesystem;
using testing::ScratchFolderTest;

class ImageRecordTest : public ScratchFolderTest {};

// The pixel files this process maps from `folder`, by name, sorted; each must be deleted.
std::vector<std::string> mappedFilesUnder(const fs::path& folder) {
    std::vector<std::string> names;
    std::ifstream maps("/proc/self/maps");
    const std::string prefix = folder.string() + "/";
    for (std::string line; std::getline(maps, line);) {
        const size_t at = line.find(prefix);
        if (at == std::string::npos)
            continue;
        std::string name = line.substr(at + prefix.size());
        const size_t deleted = name.find(" (deleted)");
        EXPECT_NE(deleted, std::string::npos) << "a pixel file still has its name: " << line;
        names.push_back(name.substr(0, deleted));
    }
    std::sort(names.begin(), names.end());
    return names;
}

void expectEmpty(const ImageRecord& image) {
    EXPECT_EQ(image.width(), 0);
    EXPECT_EQ(image.height(), 0);
    EXPECT_EQ(image.bitsPerPixel(), 0);
    EXPECT_EQ(image.paletteCount(), 0);
    EXPECT_EQ(image.pixels(), nullptr);
    EXPECT_EQ(image.bufferSize(), 0u);
}

TEST_F(ImageRecordTest, CreateRefusesBadShapesAndLeavesTheRecordEmpty) {
    ImageRecord image;
    ASSERT_EQ(image.create(2, 2, 24, 0), 1);
    EXPECT_EQ(image.create(10, 0, 24, 0), 0);
    expectEmpty(image);
    EXPECT_EQ(image.create(0, 10, 24, 0), 0);
    EXPECT_EQ(image.create(-3, 10, 24, 0), 0);
    EXPECT_EQ(image.create(4, 4, 12, 0), 0);
    EXPECT_EQ(image.create(4, 4, 8, -1), 0);
    expectEmpty(image);
    // Above 2^31 pixel bytes nothing is allocated.
    EXPECT_EQ(image.create(65536, 32769, 8, 0), 0);
    EXPECT_EQ(image.create(0x7FFFFFFF, 0x7FFFFFFF, 32, 0), 0);
    expectEmpty(image);
    EXPECT_TRUE(entries(tmpFolder()).empty());
}

TEST_F(ImageRecordTest, CreateLaysOutPackedTopDownRowsOfZeroBytes) {
    ImageRecord image;
    ASSERT_EQ(image.create(4, 2, 24, 0), 1);
    EXPECT_EQ(image.rowBytes(), 12u);
    EXPECT_EQ(image.bufferSize(), 24u);
    EXPECT_EQ(image.row(1), image.pixels() + 12);
    for (size_t i = 0; i < image.bufferSize(); ++i)
        ASSERT_EQ(image.pixels()[i], 0) << i;

    ASSERT_EQ(image.create(3, 3, 8, 256), 1);
    EXPECT_EQ(image.bufferSize(), 9u);
    EXPECT_EQ(image.paletteCount(), 256);
    EXPECT_NE(image.paletteEntries(), nullptr);

    ASSERT_EQ(image.create(3, 3, 24, 256), 1);
    EXPECT_EQ(image.paletteCount(), 0);
    EXPECT_EQ(image.paletteEntries(), nullptr);

    ASSERT_EQ(image.create(5, 3, 16, 0), 1);
    EXPECT_EQ(image.rowBytes(), 10u);
    ASSERT_EQ(image.create(5, 3, 32, 0), 1);
    EXPECT_EQ(image.rowBytes(), 20u);
    EXPECT_EQ(image.bufferSize(), 60u);
}

// A pixel file's name is gone before create returns: the folder stays empty while the pictures
// live, only the mappings hold the deleted files, and releasing a picture frees its file.
// Unnamed files, where the file system has them, never had a name at all; elsewhere the numbered
// name goes as soon as the file is open.
TEST_F(ImageRecordTest, PixelFilesHaveNoNameWhileThePictureLivesAndGoWithIt) {
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed file" : "named file");
        platform::offerUnnamedFiles(unnamed);
        ImageRecord first;
        ImageRecord second;
        ASSERT_EQ(first.create(3, 2, 24, 0), 1);
        ASSERT_EQ(second.create(3, 2, 24, 0), 1);
        first.pixels()[0] = 1;
        second.pixels()[0] = 2;
        EXPECT_TRUE(entries(tmpFolder()).empty());
        // Each name was free again when the next picture was made.
        if (!unnamed)
            EXPECT_EQ(mappedFilesUnder(tmpFolder()),
                      (std::vector<std::string>{"QUILBRIX0.tmp", "QUILBRIX0.tmp"}));
        else
            EXPECT_EQ(mappedFilesUnder(tmpFolder()).size(), 2u);
        EXPECT_NE(first.pixels(), second.pixels());
        EXPECT_EQ(first.pixels()[0], 1);
        EXPECT_EQ(second.pixels()[0], 2);

        ASSERT_EQ(first.create(7, 7, 32, 0), 1);
        EXPECT_EQ(mappedFilesUnder(tmpFolder()).size(), 2u);
        EXPECT_EQ(first.release(), 1);
        expectEmpty(first);
        EXPECT_EQ(mappedFilesUnder(tmpFolder()).size(), 1u);
        {
            ImageRecord scoped;
            ASSERT_EQ(scoped.create(1, 1, 8, 0), 1);
            EXPECT_EQ(mappedFilesUnder(tmpFolder()).size(), 2u);
        }
        EXPECT_EQ(mappedFilesUnder(tmpFolder()).size(), 1u);
        second.release();
        EXPECT_TRUE(mappedFilesUnder(tmpFolder()).empty()) << "a released picture is still mapped";
        EXPECT_TRUE(entries(tmpFolder()).empty());
    }
    platform::offerUnnamedFiles(true);
}

// Where a name is needed (no unnamed files), taken names are skipped.
TEST_F(ImageRecordTest, TakenNamesAndPlantedLinksAreSkippedAndLeftAlone) {
    platform::offerUnnamedFiles(false);
    testing::writeFile(tmp("QUILBRIX0.tmp"), {1, 2, 3});
    const std::string victim = work("victim");
    testing::writeFile(victim, {9, 9});
    fs::create_symlink(victim, tmp("QUILBRIX1.tmp"));
    fs::create_symlink(work("missing"), tmp("QUILBRIX2.tmp"));
    const std::vector<std::string> planted = entries(tmpFolder());
    {
        ImageRecord image;
        ASSERT_EQ(image.create(4, 4, 24, 0), 1);
        testing::fillPattern(image, 1);
        image.flush();
        EXPECT_EQ(mappedFilesUnder(tmpFolder()), std::vector<std::string>{"QUILBRIX3.tmp"});
        EXPECT_EQ(entries(tmpFolder()), planted);
    }
    EXPECT_TRUE(mappedFilesUnder(tmpFolder()).empty());
    EXPECT_EQ(entries(tmpFolder()), planted);
    EXPECT_EQ(testing::readFile(tmp("QUILBRIX0.tmp")), (testing::Bytes{1, 2, 3}));
    EXPECT_EQ(testing::readFile(victim), (testing::Bytes{9, 9}));
    EXPECT_FALSE(fs::exists(work("missing")));
    fs::remove(tmp("QUILBRIX0.tmp"));
    fs::remove(tmp("QUILBRIX1.tmp"));
    fs::remove(tmp("QUILBRIX2.tmp"));
    platform::offerUnnamedFiles(true);
}

TEST_F(ImageRecordTest, CopyFromDuplicatesPixelsAndPalette) {
    ImageRecord source;
    ASSERT_EQ(source.create(5, 3, 8, 4), 1);
    testing::fillPattern(source, 2);
    for (int i = 0; i < 4; ++i)
        std::memset(source.paletteEntries() + i * 8, 40 * i + 1, 8);
    ImageRecord copy;
    ASSERT_EQ(copy.copyFrom(source), 1);
    EXPECT_TRUE(testing::sameImage(copy, source));
    EXPECT_NE(copy.pixels(), source.pixels());
    EXPECT_EQ(copy.copyFrom(copy), 1);
    EXPECT_TRUE(testing::sameImage(copy, source));

    ImageRecord empty;
    EXPECT_EQ(copy.copyFrom(empty), 0);
    expectEmpty(copy);
}

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

Rgb pixel24(const ImageRecord& image, int32_t x, int32_t y) {
    const uint8_t* p = image.row(y) + x * 3;
    return {p[0], p[1], p[2]};
}

TEST_F(ImageRecordTest, ConvertsEveryDepthTo24Bits) {
    ImageRecord target;

    ImageRecord argb;
    ASSERT_EQ(argb.create(2, 1, 32, 0), 1);
    const uint8_t argbBytes[] = {0, 10, 20, 30, 255, 1, 2, 3};
    std::memcpy(argb.pixels(), argbBytes, sizeof argbBytes);
    ASSERT_EQ(argb.convertTo(target, 24, 0), 1);
    EXPECT_EQ(target.bitsPerPixel(), 24);
    EXPECT_EQ(target.paletteCount(), 0);
    EXPECT_EQ(pixel24(target, 0, 0), (Rgb{10, 20, 30}));
    EXPECT_EQ(pixel24(target, 1, 0), (Rgb{1, 2, 3}));

    ImageRecord words;
    ASSERT_EQ(words.create(3, 1, 16, 0), 1);
    auto pack = [](int r, int g, int b) {
        return ((r >> 3) << 11) | ((g >> 3) << 6) | ((b >> 3) << 1);
    };
    const uint16_t values[] = {0xFFFE, static_cast<uint16_t>(pack(200, 100, 50)), 0x0001};
    for (int i = 0; i < 3; ++i) {
        words.pixels()[i * 2] = static_cast<uint8_t>(values[i]);
        words.pixels()[i * 2 + 1] = static_cast<uint8_t>(values[i] >> 8);
    }
    ASSERT_EQ(words.convertTo(target, 24, 0), 1);
    EXPECT_EQ(pixel24(target, 0, 0), (Rgb{248, 248, 248}));
    EXPECT_EQ(pixel24(target, 1, 0), (Rgb{200, 96, 48}));
    EXPECT_EQ(pixel24(target, 2, 0), (Rgb{0, 0, 0}));

    ImageRecord grey;
    ASSERT_EQ(grey.create(2, 2, 8, 0), 1);
    grey.pixels()[3] = 77;
    ASSERT_EQ(grey.convertTo(target, 24, 0), 1);
    EXPECT_EQ(pixel24(target, 1, 1), (Rgb{77, 77, 77}));
    EXPECT_EQ(pixel24(target, 0, 0), (Rgb{0, 0, 0}));

    ImageRecord rgb;
    ASSERT_EQ(rgb.create(3, 5, 24, 0), 1);
    testing::fillPattern(rgb, 3);
    ASSERT_EQ(rgb.convertTo(target, 24, 0), 1);
    EXPECT_TRUE(testing::sameImage(target, rgb));
}

TEST_F(ImageRecordTest, PaletteIndexesOutsideThePaletteBecomeBlack) {
    ImageRecord indexed;
    ASSERT_EQ(indexed.create(4, 1, 8, 2), 1);
    std::memset(indexed.paletteEntries(), 0xEE, 16);
    const uint8_t colours[2][3] = {{1, 2, 3}, {250, 128, 7}};
    std::memcpy(indexed.paletteEntries(), colours[0], 3);
    std::memcpy(indexed.paletteEntries() + 8, colours[1], 3);
    const uint8_t indexes[] = {1, 0, 2, 255};
    std::memcpy(indexed.pixels(), indexes, 4);
    ImageRecord target;
    ASSERT_EQ(indexed.convertTo(target, 24, 0), 1);
    EXPECT_EQ(pixel24(target, 0, 0), (Rgb{250, 128, 7}));
    EXPECT_EQ(pixel24(target, 1, 0), (Rgb{1, 2, 3}));
    EXPECT_EQ(pixel24(target, 2, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(pixel24(target, 3, 0), (Rgb{0, 0, 0}));
}

TEST_F(ImageRecordTest, UnsupportedConversionsFailAndLeaveTheTargetAlone) {
    ImageRecord source;
    ASSERT_EQ(source.create(2, 2, 24, 0), 1);
    ImageRecord target;
    ASSERT_EQ(target.create(1, 1, 8, 0), 1);
    target.pixels()[0] = 42;
    EXPECT_EQ(source.convertTo(target, 32, 0), 0);
    EXPECT_EQ(source.convertTo(target, 8, 16), 0);
    EXPECT_EQ(source.convertTo(target, 24, 3), 0);
    EXPECT_EQ(source.convertTo(source, 24, 0), 0);
    ImageRecord empty;
    EXPECT_EQ(empty.convertTo(target, 24, 0), 0);
    EXPECT_EQ(target.width(), 1);
    EXPECT_EQ(target.pixels()[0], 42);
}

TEST_F(ImageRecordTest, FileHelpersMatchWildcardsMeasureStreamsAndFindFreeTemporaryNames) {
    const std::string file = work("a file.bin");
    testing::writeFile(file, {1, 2, 3, 4, 5});
    EXPECT_EQ(fileExists(file.c_str()), 1);
    EXPECT_EQ(fileExists(work("*.bin").c_str()), 1);
    EXPECT_EQ(fileExists(work("nothing").c_str()), 0);
    EXPECT_EQ(isDirectory(file.c_str()), 0);
    EXPECT_EQ(isDirectory(tmpFolder().c_str()), 1);
    EXPECT_EQ(isDirectory((tmpFolder() + "\\").c_str()), 1);
    EXPECT_EQ(isDirectory(work("nothing").c_str()), 0);

    std::FILE* stream = std::fopen(file.c_str(), "rb");
    ASSERT_NE(stream, nullptr);
    std::fgetc(stream);
    EXPECT_EQ(fileSize(stream), 5);
    EXPECT_EQ(std::ftell(stream), 0);
    std::fclose(stream);
    EXPECT_EQ(fileSize(nullptr), 0);

    EXPECT_EQ(temporaryFileName("QUILBRIX"), tmpFolder() + "/QUILBRIX0.tmp");
    testing::writeFile(tmp("QUILBRIX0.tmp"), {});
    EXPECT_EQ(temporaryFileName("QUILBRIX"), tmpFolder() + "/QUILBRIX1.tmp");
    EXPECT_EQ(temporaryFileName(""), "");
    EXPECT_EQ(deleteFile(tmp("QUILBRIX0.tmp").c_str()), 1);
    EXPECT_EQ(deleteFile(file.c_str()), 1);
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(deleteFile(file.c_str()), 1);
}

} // namespace
} // namespace kelvarn::testing
