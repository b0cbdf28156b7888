// A long batch in one process: 300 files of every kind the loader chain knows, damaged files,
// files of kinds it does not take and files that vanished, converted one after the other
// through the conversion commands. Afterwards no file descriptor, no mapping and no temporary
// file is left, and the heap in use is back where it was before the batch.

#include "commands/image/ConversionCommands.h"
#include "imaging/BmpCodec.h"
#include "imaging/LoaderChain.h"
#include "imaging/PngCodec.h"
#include "tests/imaging/HostileInputTest.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kelvarn::testing {
using namespace kelvarn::imaging;
using namespace kelvarn::commands;
namespace {

namespace fs = std::filesystem;
using kelvarn::testing::Bytes;

size_t openDescriptors() {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

// Mappings of pixel files and target siblings still in the address space.
std::vector<std::string> leftoverMappings() {
    std::vector<std::string> found;
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);)
        if (line.find("QUILBRIX") != std::string::npos ||
            line.find(".kelvarn") != std::string::npos)
            found.push_back(line);
    return found;
}

// Bytes in blocks the program holds. glibc's per-thread cache keeps freed blocks counted as in
// use, so the measured batch runs in a process started with that cache off (see below).
size_t heapInUse() {
    return mallinfo2().uordblks;
}

constexpr const char* kExactHeap = "glibc.malloc.tcache_count=0";

[[maybe_unused]] bool heapCountIsExact() {
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    return tunables && std::strstr(tunables, kExactHeap);
}

// Runs the current test again in a fresh process with the exact heap count; its exit status.
[[maybe_unused]] int rerunWithExactHeap() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string filter =
        std::string("--gtest_filter=") + info->test_suite_name() + "." + info->name();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("GLIBC_TUNABLES", kExactHeap, 1);
        execl("/proc/self/exe", "soak", filter.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

enum class Kind { Bmp, Png, Pcx, Tiff, Jpeg, TruncatedPng, BrokenBmp, Text, Bmp8, Vanished };
constexpr int kKinds = 10;

struct Source {
    std::string name;
    Kind kind;
    Bytes rgb; // the picture, for the lossless kinds
    int width = 0;
    int height = 0;
};

class SoakTest : public kelvarn::testing::ScratchFolderTest {
protected:
    Source make(int i) {
        Source s;
        s.kind = static_cast<Kind>(i % kKinds);
        s.width = 1 + (i * 7) % 23;
        s.height = 1 + (i * 5) % 17;
        s.rgb = testing::gradient(s.width, s.height, 3);
        char name[16];
        std::snprintf(name, sizeof name, "f%d", i);
        s.name = name;
        Bytes bytes;
        switch (s.kind) {
        case Kind::Bmp:
            bytes = testing::bmpFile(s.width, s.height, s.rgb);
            break;
        case Kind::Png:
            bytes = testing::pngRgb(s.width, s.height, s.rgb);
            break;
        case Kind::Pcx:
            s.width = std::max(s.width, 2);
            s.height = std::max(s.height, 2);
            s.rgb = testing::gradient(s.width, s.height, 3);
            bytes = testing::pcx24(s.width, s.height, s.rgb);
            break;
        case Kind::Tiff: {
            testing::TiffPage page;
            page.width = s.width;
            page.height = s.height;
            page.samples = s.rgb;
            testing::writeTiff(work(s.name), {page});
            return s;
        }
        case Kind::Jpeg:
            testing::writeJpeg(work(s.name), s.width, s.height, 3, s.rgb);
            return s;
        case Kind::TruncatedPng:
            bytes = testing::pngRgb(s.width + 8, s.height + 8,
                                    testing::gradient(s.width + 8, s.height + 8, 3));
            bytes.resize(bytes.size() / 2);
            break;
        case Kind::BrokenBmp:
            bytes = testing::bmpFile(s.width, s.height, s.rgb);
            bytes.resize(30);
            break;
        case Kind::Text:
            bytes = Bytes{'h', 'e', 'l', 'l', 'o'};
            break;
        case Kind::Bmp8:
            bytes = testing::bmp8(s.width, s.height);
            break;
        case Kind::Vanished:
            return s; // listed, then gone before its turn
        }
        testing::writeFile(work(s.name), bytes);
        return s;
    }

    static int32_t expectedCode(Kind kind) {
        switch (kind) {
        case Kind::Bmp:
        case Kind::Png:
        case Kind::Pcx:
        case Kind::Tiff:
        case Kind::Jpeg:
            return kConvertOk;
        case Kind::Vanished:
            return kLoadNotFound;
        default:
            return kLoadUnrecognised;
        }
    }
    static bool lossless(Kind kind) { return kind != Kind::Jpeg; }

    int32_t convert(const Source& s, int i) {
        const std::string target = work(s.name + (i % 2 ? ".out.png" : ".out.bmp"));
        return i % 2 ? testing::commandToPng(work(s.name), target)
                     : testing::commandToBmp(work(s.name), target);
    }

    // The picture of a converted file, read back through the codec that wrote it.
    Bytes readBack(const std::string& path, bool png, int& width, int& height) {
        ImageRecord image;
        BmpCodec bmp;
        PngCodec pngCodec;
        const bool ok = png ? pngCodec.open(path.c_str(), image) == 1 && pngCodec.decode() == 1
                            : bmp.open(path.c_str(), image) == 1 && bmp.decode() == 1;
        if (!ok)
            return {};
        width = image.width();
        height = image.height();
        return Bytes(image.pixels(), image.pixels() + image.bufferSize());
    }
};

TEST_F(SoakTest, ThreeHundredMixedFilesLeaveNothingBehind) {
#if !defined(__SANITIZE_ADDRESS__)
    if (!heapCountIsExact()) {
        EXPECT_EQ(rerunWithExactHeap(), 0) << "the batch failed in its own process (see above)";
        return;
    }
#endif
    constexpr int kFiles = 300;
    // One file of each kind first, so that the libraries' one-time set-up is not counted.
    for (int i = 0; i < 2 * kKinds; ++i)
        convert(make(1000 + i), i);
    for (int i = 0; i < 2 * kKinds; ++i)
        fs::remove(work(make(1000 + i).name + (i % 2 ? ".out.png" : ".out.bmp")));

    std::vector<Source> sources;
    for (int i = 0; i < kFiles; ++i)
        sources.push_back(make(i));
    std::vector<int32_t> codes(kFiles); // sized before the first measurement
    const size_t descriptorsBefore = openDescriptors();
    const size_t heapBefore = heapInUse();

    for (int i = 0; i < kFiles; ++i)
        codes[i] = convert(sources[i], i);

    const size_t heapAfter = heapInUse();
    EXPECT_EQ(openDescriptors(), descriptorsBefore) << "file descriptors left open";
    EXPECT_EQ(leftoverMappings(), std::vector<std::string>{}) << "mappings left";
    EXPECT_EQ(entries(tmpFolder()), std::vector<std::string>{}) << "pixel files left";
#if !defined(__SANITIZE_ADDRESS__)
    // Sanitizer builds keep their own heap (and find leaks themselves).
    EXPECT_EQ(heapAfter, heapBefore) << "heap in use grew by " << (heapAfter - heapBefore);
#else
    (void)heapAfter;
    (void)heapBefore;
#endif

    int converted = 0;
    for (int i = 0; i < kFiles; ++i) {
        const Source& s = sources[i];
        const bool png = i % 2;
        const std::string target = work(s.name + (png ? ".out.png" : ".out.bmp"));
        EXPECT_EQ(codes[i], expectedCode(s.kind)) << s.name << " kind " << static_cast<int>(s.kind);
        if (expectedCode(s.kind) != kConvertOk) {
            EXPECT_FALSE(fs::exists(target)) << s.name;
            continue;
        }
        int width = 0;
        int height = 0;
        const Bytes pixels = readBack(target, png, width, height);
        EXPECT_EQ(width, s.width) << s.name;
        EXPECT_EQ(height, s.height) << s.name;
        if (lossless(s.kind)) {
            EXPECT_EQ(pixels, s.rgb) << s.name;
        }
        ++converted;
    }
    EXPECT_EQ(converted, kFiles / 2);
    // Only the sources and the converted targets are in the folder: no sibling is left.
    for (const std::string& name : entries(workFolder()))
        EXPECT_EQ(name.rfind(".kelvarn", 0), std::string::npos) << name;
}

} // namespace
} // namespace kelvarn::testing
