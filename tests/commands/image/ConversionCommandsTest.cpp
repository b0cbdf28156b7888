#include "commands/image/ConversionCommands.h"
#include "imaging/BmpCodec.h"
#include "imaging/LoaderChain.h"
#include "imaging/PngCodec.h"
#include "platform/files/UnnamedFile.h"
#include "runtime/core/CommandCall.h"
#include "tests/support/PictureFiles.h"
#include "tests/support/ScratchFolderTest.h"

#include <atomic>
#include <filesystem>
#include <thread>
#include <vector>

namespace kelvarn::testing {
using namespace kelvarn::imaging;
using namespace kelvarn::commands;
namespace {

using testing::Bytes;

class ConversionCommandsTest : public kelvarn::testing::ScratchFolderTest {
protected:
    int32_t toBmp(const std::string& source, const std::string& target) {
        runtime::ArgRecord args[2] = {runtime::makeText(source.c_str()),
                                      runtime::makeText(target.c_str())};
        return runtime::CallLibraryCommand(kImageLibraryPosition, ConvertToBmp, 2, args).integer();
    }
    int32_t toPng(const std::string& source, const std::string& target, int32_t depth = 24) {
        runtime::ArgRecord args[3] = {runtime::makeText(source.c_str()),
                                      runtime::makeText(target.c_str()),
                                      runtime::makeInteger(depth)};
        return runtime::CallLibraryCommand(kImageLibraryPosition, ConvertToPng, 3, args).integer();
    }
    // The picture a file holds, read back through the codec that wrote it.
    template <typename Codec> Bytes readBack(const std::string& path, int32_t* depth = nullptr) {
        ImageRecord image;
        Codec codec;
        if (codec.open(path.c_str(), image) != 1 || codec.decode() != 1)
            return {};
        if (depth)
            *depth = image.bitsPerPixel();
        return Bytes(image.pixels(), image.pixels() + image.bufferSize());
    }
};

TEST_F(ConversionCommandsTest, ConvertsAnyRecognisedSourceToBmpAndPng) {
    const Bytes rgb = testing::gradient(7, 5, 3);
    ASSERT_TRUE(testing::writeFile(work("a.pcx"), testing::pcx24(7, 5, rgb)));
    EXPECT_EQ(toBmp(work("a.pcx"), work("a.bmp")), kConvertOk);
    EXPECT_EQ(readBack<BmpCodec>(work("a.bmp")), rgb);
    EXPECT_EQ(toPng(work("a.bmp"), work("a.png")), kConvertOk);
    int32_t depth = 0;
    EXPECT_EQ(readBack<PngCodec>(work("a.png"), &depth), rgb);
    EXPECT_EQ(depth, 24);
    // Only the targets were added: no sibling is left in the folder.
    EXPECT_EQ(entries(workFolder()), (std::vector<std::string>{"a.bmp", "a.pcx", "a.png"}));
}

TEST_F(ConversionCommandsTest, NonTwentyFourBitSourcesAreConvertedForBmp) {
    // 8-bit palette PCX: expanded through the palette.
    Bytes palette(768, 0);
    palette[3 * 1 + 0] = 200; // entry 1 red
    palette[3 * 2 + 2] = 90;  // entry 2 blue
    ASSERT_TRUE(testing::writeFile(work("p.pcx"), testing::pcx8(2, 2, {1, 2, 2, 1}, palette)));
    EXPECT_EQ(toBmp(work("p.pcx"), work("p.bmp")), kConvertOk);
    EXPECT_EQ(readBack<BmpCodec>(work("p.bmp")), Bytes({200, 0, 0, 0, 0, 90, 0, 0, 90, 200, 0, 0}));

    // RGBA PNG: the alpha channel is dropped, not blended.
    ImageRecord rgba;
    ASSERT_EQ(rgba.create(2, 1, 32, 0), 1);
    const uint8_t argb[] = {0, 10, 20, 30, 128, 40, 50, 60};
    std::copy(std::begin(argb), std::end(argb), rgba.pixels());
    PngCodec writer;
    ASSERT_EQ(writer.openWrite(work("alpha.png").c_str(), rgba, 32, 0), 1);
    ASSERT_EQ(writer.encode(), 1);
    EXPECT_EQ(toBmp(work("alpha.png"), work("alpha.bmp")), kConvertOk);
    EXPECT_EQ(readBack<BmpCodec>(work("alpha.bmp")), Bytes({10, 20, 30, 40, 50, 60}));
}

TEST_F(ConversionCommandsTest, BadArgumentsAreRefusedBeforeAnyFileIsTouched) {
    ASSERT_TRUE(testing::writeFile(work("a.bmp"), testing::bmpFile(2, 2, Bytes(12, 9))));
    EXPECT_EQ(toPng(work("a.bmp"), work("out.png"), 32), kConvertBadArguments);
    EXPECT_EQ(toPng(work("a.bmp"), work("out.png"), 8), kConvertBadArguments);
    EXPECT_FALSE(std::filesystem::exists(work("out.png")));

    runtime::ArgRecord args[3] = {runtime::makeText(nullptr), runtime::makeText("x"),
                                  runtime::makeInteger(24)};
    EXPECT_EQ(runtime::CallLibraryCommand(kImageLibraryPosition, ConvertToBmp, 2, args).integer(),
              kConvertBadArguments);
    EXPECT_EQ(runtime::CallLibraryCommand(kImageLibraryPosition, ConvertToPng, 3, args).integer(),
              kConvertBadArguments);
    // Fewer records than the command reads count as absent arguments.
    args[0] = runtime::makeText(work("a.bmp").c_str());
    args[1] = runtime::makeText(work("out.png").c_str());
    EXPECT_EQ(runtime::CallLibraryCommand(kImageLibraryPosition, ConvertToPng, 2, args).integer(),
              kConvertBadArguments);
    EXPECT_EQ(runtime::CallLibraryCommand(kImageLibraryPosition, ConvertToBmp, 1, args).integer(),
              kConvertBadArguments);
    EXPECT_EQ(entries(workFolder()), std::vector<std::string>{"a.bmp"});
}

TEST_F(ConversionCommandsTest, FailuresLeaveTheTargetPathAsItWas) {
    const Bytes keep = {'k', 'e', 'e', 'p'};
    ASSERT_TRUE(testing::writeFile(work("old.png"), keep));
    ASSERT_TRUE(testing::writeFile(work("grey.bmp"), testing::bmp8(4, 4)));
    // Missing source, unrecognised source: the existing target survives.
    EXPECT_EQ(toPng(work("missing.bmp"), work("old.png")), kLoadNotFound);
    EXPECT_EQ(toPng(work("grey.bmp"), work("old.png")), kLoadUnrecognised);
    EXPECT_EQ(testing::readFile(work("old.png")), keep);

    const Bytes rgb = testing::gradient(3, 3, 3);
    ASSERT_TRUE(testing::writeFile(work("ok.bmp"), testing::bmpFile(3, 3, rgb)));
    // A target in a folder that does not exist, a target that is a folder, an empty target.
    EXPECT_EQ(toPng(work("ok.bmp"), work("nowhere/x.png")), kConvertWriteFailed);
    std::filesystem::create_directory(work("dir.bmp"));
    std::filesystem::create_directory(work("dir.bmp/inside"));
    EXPECT_EQ(toBmp(work("ok.bmp"), work("dir.bmp")), kConvertWriteFailed);
    EXPECT_TRUE(std::filesystem::is_directory(work("dir.bmp/inside")));
    EXPECT_EQ(toBmp(work("ok.bmp"), ""), kConvertWriteFailed);
    EXPECT_EQ(toBmp(work("ok.bmp"), work("dir.bmp/")), kConvertWriteFailed);
    EXPECT_EQ(entries(workFolder()),
              (std::vector<std::string>{"dir.bmp", "grey.bmp", "ok.bmp", "old.png"}));
    EXPECT_EQ(entries(work("dir.bmp")), std::vector<std::string>{"inside"});
}

TEST_F(ConversionCommandsTest, SourceEqualToTargetIsReplacedByTheConvertedFile) {
    const Bytes rgb = testing::gradient(4, 3, 3);
    ASSERT_TRUE(testing::writeFile(work("same.png"), testing::bmpFile(4, 3, rgb)));
    EXPECT_EQ(toPng(work("same.png"), work("same.png")), kConvertOk);
    EXPECT_EQ(readBack<PngCodec>(work("same.png")), rgb);
    EXPECT_EQ(entries(workFolder()), std::vector<std::string>{"same.png"});
}

// The explanation of a refused source belongs to the thread whose conversion it was, and lasts
// until that thread's next conversion.
TEST_F(ConversionCommandsTest, LastRefusalIsTheCallingThreadsOwn) {
    ASSERT_TRUE(testing::writeFile(work("grey.bmp"), testing::bmp8(4, 4)));
    ASSERT_TRUE(testing::writeFile(work("good.bmp"), testing::bmpFile(1, 1, {1, 2, 3})));
    EXPECT_EQ(toPng(work("grey.bmp"), work("a.png")), kLoadUnrecognised);
    const std::string reason = lastConversionRefusal();
    EXPECT_EQ(reason.rfind("BMP: ", 0), 0u) << reason;
    std::string other = "unset";
    std::thread([&] {
        other = lastConversionRefusal();
        EXPECT_EQ(toBmp(work("none.bmp"), work("b.bmp")), kLoadNotFound);
    }).join();
    EXPECT_EQ(other, "");
    EXPECT_EQ(lastConversionRefusal(), reason);
    EXPECT_EQ(toPng(work("grey.bmp"), work("a.png"), 32), kConvertBadArguments);
    EXPECT_STREQ(lastConversionRefusal(), "");
    EXPECT_EQ(toPng(work("grey.bmp"), work("a.png")), kLoadUnrecognised);
    EXPECT_EQ(toPng(work("good.bmp"), work("a.png")), kConvertOk);
    EXPECT_STREQ(lastConversionRefusal(), "");
}

// Hidden names serve the sibling where there are no unnamed files, and the unnamed file's link
// before it is renamed over an existing target: either way taken names are skipped.
TEST_F(ConversionCommandsTest, TakenHiddenNamesAreSkippedAndLeftAlone) {
    ASSERT_TRUE(testing::writeFile(work(".kelvarn0.tmp"), {'x'}));
    std::filesystem::create_symlink(work("elsewhere"), work(".kelvarn1.tmp"));
    ASSERT_TRUE(testing::writeFile(work("a.bmp"), testing::bmpFile(1, 1, {1, 2, 3})));
    for (const bool unnamed : {false, true}) {
        SCOPED_TRACE(unnamed ? "unnamed file" : "hidden sibling");
        platform::offerUnnamedFiles(unnamed);
        ASSERT_TRUE(testing::writeFile(work("b.bmp"), {'o', 'l', 'd'}));
        EXPECT_EQ(toBmp(work("a.bmp"), work("b.bmp")), kConvertOk);
        platform::offerUnnamedFiles(true);
        EXPECT_EQ(testing::readFile(work(".kelvarn0.tmp")), Bytes{'x'});
        EXPECT_TRUE(std::filesystem::is_symlink(work(".kelvarn1.tmp")));
        EXPECT_FALSE(std::filesystem::exists(work("elsewhere")));
        EXPECT_EQ(readBack<BmpCodec>(work("b.bmp")), Bytes({1, 2, 3}));
        EXPECT_EQ(entries(workFolder()),
                  (std::vector<std::string>{".kelvarn0.tmp", ".kelvarn1.tmp", "a.bmp", "b.bmp"}));
    }
}

// Conversions on several threads into one folder: pixel files and siblings get names of their own
// on every thread, every conversion succeeds and nothing is left behind.
TEST_F(ConversionCommandsTest, ConversionsOnManyThreadsAtOnceAllSucceed) {
    constexpr int kThreads = 4;
    constexpr int kRounds = 12;
    std::vector<Bytes> pictures;
    for (int t = 0; t < kThreads; ++t) {
        pictures.push_back(testing::gradient(33 + t, 17 + 2 * t, 3));
        ASSERT_TRUE(testing::writeFile(work("s" + std::to_string(t) + ".bmp"),
                                       testing::bmpFile(33 + t, 17 + 2 * t, pictures.back())));
    }
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            const std::string stem = work("s" + std::to_string(t));
            for (int round = 0; round < kRounds; ++round) {
                if (toPng(stem + ".bmp", stem + ".png") != kConvertOk ||
                    toBmp(stem + ".png", stem + ".out.bmp") != kConvertOk)
                    ++failures;
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(failures.load(), 0);
    for (int t = 0; t < kThreads; ++t) {
        const std::string stem = work("s" + std::to_string(t));
        EXPECT_EQ(readBack<PngCodec>(stem + ".png"), pictures[static_cast<size_t>(t)]) << t;
        EXPECT_EQ(readBack<BmpCodec>(stem + ".out.bmp"), pictures[static_cast<size_t>(t)]) << t;
    }
    EXPECT_EQ(entries(workFolder()).size(), static_cast<size_t>(3 * kThreads))
        << "sources and targets only, no sibling left";
}

// The converter's batch runs the commands on worker threads, where nothing may show a window or
// raise a runtime error: every failure there must come back as the command's result code.
TEST_F(ConversionCommandsTest, FailuresOnAWorkerThreadComeBackAsResultCodes) {
    ASSERT_TRUE(testing::writeFile(work("corrupt.bmp"), Bytes{'B', 'M', 1, 2, 3}));
    ASSERT_TRUE(testing::writeFile(work("ok.bmp"), testing::bmpFile(2, 2, Bytes(12, 7))));
    std::vector<int32_t> codes;
    std::thread worker([&] {
        codes = {toBmp(work("missing.png"), work("a.bmp")),
                 toBmp(work("corrupt.bmp"), work("a.bmp")),
                 toBmp(work("ok.bmp"), work("nowhere/a.bmp")),
                 toPng(work("ok.bmp"), work("a.png"), 8),
                 toPng(work("missing.bmp"), work("a.png")),
                 toPng(work("ok.bmp"), work("nowhere/a.png"))};
    });
    worker.join();
    EXPECT_EQ(codes,
              (std::vector<int32_t>{kLoadNotFound, kLoadUnrecognised, kConvertWriteFailed,
                                    kConvertBadArguments, kLoadNotFound, kConvertWriteFailed}));
    EXPECT_EQ(entries(workFolder()), (std::vector<std::string>{"corrupt.bmp", "ok.bmp"}));
}

TEST_F(ConversionCommandsTest, LibraryRecordListsBothCommandsAndAcceptsOnlyTheStartUpNotice) {
    const runtime::LibraryRecord& record = imageLibraryRecord();
    ASSERT_EQ(record.commandCount, 2);
    EXPECT_EQ(record.commands[0], &ConvertToBmp);
    EXPECT_EQ(record.commands[1], &ConvertToPng);
    EXPECT_EQ(record.dataTypeCount, 0);
    ASSERT_EQ(record.notify, &ImageLibraryNotify);
    EXPECT_EQ(record.notify(runtime::kNotifyStartup, 12345, 0), 0);
    EXPECT_EQ(record.notify(runtime::kNotifyShutdown, 0, 0), -1);
    EXPECT_EQ(record.notify(2, 0, 0), -1);
}

} // namespace
} // namespace kelvarn::testing
