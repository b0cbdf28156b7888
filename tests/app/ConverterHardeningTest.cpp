// The converter under what a user's folder and machine bring: hostile file names, a long mixed
// batch, a file deleted between listing and converting, a program folder where the target
// folder cannot be made. The real program runs offscreen as a child process, driven by a script
// (DrivenProgram.cpp), from a copy in a fresh folder.

#include "imaging/ImageRecord.h"
#include "imaging/LoaderChain.h"
#include "platform/files/Codepage.h"
#include "tests/app/DrivenProgramTest.h"
#include "tests/support/FileBytes.h"
#include "tests/support/PngFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace kelvarn::testing {
namespace {

namespace fs = std::filesystem;
using kelvarn::testing::namesIn;
using kelvarn::testing::ProgramRun;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAreArray;

std::vector<uint8_t> pattern(int width, int height, int seed) {
    std::vector<uint8_t> rgb;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            rgb.push_back(static_cast<uint8_t>(seed * 31 + x * 40 + y * 3));
            rgb.push_back(static_cast<uint8_t>(seed * 17 + y * 50 + x));
            rgb.push_back(static_cast<uint8_t>(255 - x * 20 - y * 20 - seed));
        }
    return rgb;
}

void writePng(const fs::path& path, int width, int height, const std::vector<uint8_t>& rgb) {
    ASSERT_TRUE(kelvarn::testing::writeFile(path, kelvarn::testing::pngRgb(width, height, rgb)))
        << path;
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    kelvarn::testing::writeFile(path, kelvarn::testing::Bytes(bytes.begin(), bytes.end()));
}

std::string readBytes(const fs::path& path) {
    const kelvarn::testing::Bytes bytes = kelvarn::testing::readFile(path);
    return std::string(bytes.begin(), bytes.end());
}

// The pixels as the image library reads them, empty when it cannot.
std::vector<uint8_t> decode(const fs::path& path) {
    kelvarn::imaging::ImageRecord image;
    const std::string gb = kelvarn::platform::utf8ToGb(path.string());
    if (kelvarn::imaging::LoadImageFile(gb.c_str(), image) != kelvarn::imaging::kLoadOk ||
        image.bitsPerPixel() != 24)
        return {};
    return std::vector<uint8_t>(image.pixels(), image.pixels() + image.bufferSize());
}

// "resources fds=N maps=M heap=H" as numbers.
struct Resources {
    long fds = -1;
    long maps = -1;
    long heap = -1;
};

Resources parseResources(const std::string& line) {
    Resources r;
    std::sscanf(line.c_str(), "resources fds=%ld maps=%ld heap=%ld", &r.fds, &r.maps, &r.heap);
    return r;
}

class ConverterHardeningTest : public kelvarn::testing::DrivenProgramTest {
protected:
    // Runs the program with the script; it must end normally. glibc's per-thread cache keeps
    // freed blocks counted as in use, and only the main arena is counted: cache off and one
    // arena for every thread, so that the heap the driver logs counts exactly the blocks the
    // program holds, workers' included.
    ProgramRun run(const std::vector<std::string>& script) {
        ProgramRun r = runProgram(
            script, "GLIBC_TUNABLES=glibc.malloc.tcache_count=0:glibc.malloc.arena_max=1", 300,
            m_prefix);
        EXPECT_EQ(r.exitCode, 0) << r.output;
        return r;
    }

    std::string m_prefix; // put in front of the program, e.g. to run it as another user
};

TEST_F(ConverterHardeningTest, HostileNamesAreListedConvertedAndReported) {
    const fs::path pics = folder("pics");
    const std::vector<std::string> stems = {"two  spaces ",
                                            "it's \"quoted\"",
                                            "-rf --help",
                                            std::string(251, 'n'),
                                            "风景 照片",
                                            "😀🎉 party",
                                            std::string("raw \xFF\xFE bytes"),
                                            "$(touch pwned) *?"};
    std::vector<std::string> listedNames;
    std::vector<std::string> converted;
    for (size_t i = 0; i < stems.size(); ++i) {
        writePng(pics / (stems[i] + ".png"), static_cast<int>(i + 1), 2,
                 pattern(static_cast<int>(i + 1), 2, static_cast<int>(i)));
        listedNames.push_back(stems[i] + ".png");
        converted.push_back(stems[i] + ".BMP");
    }
    // One hostile name that is not a picture: it must be named in the warning as it stands.
    writeBytes(pics / "-x \xFF'\".png", "not a picture");
    listedNames.push_back("-x \xFF'\".png");

    const auto log =
        run({"folder " + pics.string(), "click choose", "state", "box", "click tobmp", "close"});
    const auto lists = log.lines("list ");
    ASSERT_EQ(lists.size(), 1u);
    std::vector<std::string> shown;
    const std::string items = lists[0].substr(5);
    for (size_t start = 0; start <= items.size();) {
        size_t bar = items.find('|', start);
        if (bar == std::string::npos)
            bar = items.size();
        shown.push_back(items.substr(start, bar - start));
        start = bar + 1;
    }
    EXPECT_THAT(shown, UnorderedElementsAreArray(listedNames));
    EXPECT_THAT(
        log.lines("box "),
        ElementsAre("box 图片转BMP完成，失败 1 个：\\r\\n-x \xFF'\".png（格式不支持或文件已损坏）|"
                    "信息：|8240"));
    EXPECT_THAT(namesIn(programDir() / "BMP"), UnorderedElementsAreArray(converted));
    for (size_t i = 0; i < stems.size(); ++i)
        EXPECT_EQ(decode(programDir() / "BMP" / converted[i]),
                  pattern(static_cast<int>(i + 1), 2, static_cast<int>(i)))
            << converted[i];
    EXPECT_FALSE(fs::exists(root() / "pwned"));
    EXPECT_FALSE(fs::exists(pics / "pwned"));
}

TEST_F(ConverterHardeningTest,
       ADeletedFileAndAnUnmakeableTargetFolderAreReportedAndTheBatchGoesOn) {
    const fs::path pics = folder("pics");
    writePng(pics / "a.png", 3, 2, pattern(3, 2, 1));
    writePng(pics / "gone.png", 3, 2, pattern(3, 2, 2));
    writePng(pics / "z.png", 2, 2, pattern(2, 2, 3));

    auto log = run({"folder " + pics.string(), "click choose",
                    "remove " + (pics / "gone.png").string(), "box", "click tobmp", "close"});
    EXPECT_THAT(log.lines("removed "), ElementsAre("removed ok"));
    EXPECT_THAT(
        log.lines("box "),
        ElementsAre("box 图片转BMP完成，失败 1 个：\\r\\ngone.png（文件不存在）|信息：|8240"));
    EXPECT_THAT(namesIn(programDir() / "BMP"), ElementsAre("a.BMP", "z.BMP"));

    // Where the target folder should be lies a file: no target can be made, each file says so.
    writeBytes(programDir() / "PNG", "in the way");
    log = run({"folder " + pics.string(), "click choose", "box", "click topng", "close"});
    EXPECT_THAT(log.lines("box "),
                ElementsAre("box 图片转PNG完成，失败 2 个：\\r\\na.png（无法写入目标文件）\\r\\n"
                            "z.png（无法写入目标文件）\\r\\n输出目录：" +
                            (programDir() / "PNG").string() + "|信息：|8240"));
    EXPECT_EQ(readBytes(programDir() / "PNG"), "in the way");
}

TEST_F(ConverterHardeningTest, AReadOnlyProgramFolderFailsEveryTargetAndSaysSo) {
    const fs::path pics = folder("pics");
    writePng(pics / "a.png", 3, 2, pattern(3, 2, 1));
    // Permissions bind only other users: as root the program runs as nobody.
    std::string prefix;
    if (geteuid() == 0) {
        if (std::system("command -v setpriv >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "running as root without setpriv: a read-only folder cannot bind";
        prefix = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
        for (const fs::path& p : {root(), pics, tempDir(), root() / "runtime"})
            fs::permissions(p, fs::perms::all, fs::perm_options::replace);
        fs::permissions(pics / "a.png", fs::perms::all, fs::perm_options::replace);
        // The windowing system's runtime folder must belong to the user that runs it.
        if (chown((root() / "runtime").c_str(), 65534, 65534) != 0)
            GTEST_SKIP() << "cannot hand the runtime folder to nobody";
        fs::permissions(root() / "runtime", fs::perms::owner_all, fs::perm_options::replace);
    }
    fs::permissions(programDir(),
                    fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                        fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec,
                    fs::perm_options::replace);
    m_prefix = prefix;
    const auto log =
        run({"folder " + pics.string(), "click choose", "box", "click tobmp", "close"});
    EXPECT_THAT(
        log.lines("box "),
        ElementsAre(
            "box 图片转BMP完成，失败 1 个：\\r\\na.png（无法写入目标文件）\\r\\n输出目录：" +
            (programDir() / "BMP").string() + "|信息：|8240"));
    EXPECT_THAT(namesIn(programDir()), ElementsAre("kelvarn"));
}

TEST_F(ConverterHardeningTest,
       ALongMixedBatchConvertsEveryPictureNamesEveryFailureAndLeavesNothing) {
    const fs::path pics = folder("pics");
    constexpr int kFiles = 300;
    std::vector<std::string> good;
    int bad = 0;
    for (int i = 0; i < kFiles; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "f%03d.png", i);
        const int w = 1 + i % 13;
        const int h = 1 + i % 7;
        switch (i % 4) {
        case 0:
        case 1:
            writePng(pics / name, w, h, pattern(w, h, i));
            good.push_back(name);
            break;
        case 2: { // damaged: the PNG cut in half
            writePng(pics / name, w + 20, h + 20, pattern(w + 20, h + 20, i));
            const std::string whole = readBytes(pics / name);
            writeBytes(pics / name, whole.substr(0, whole.size() / 2));
            ++bad;
            break;
        }
        default: // not a picture at all
            writeBytes(pics / name, "GIF89a? no: " + std::to_string(i));
            ++bad;
            break;
        }
    }

    // Three batches of the same list. The first and second fill the caches of the window system
    // (fonts, message box layouts); from then on every batch must leave the heap as it found it.
    const auto log = run({"folder " + pics.string(), "click choose", "resources", "box",
                          "click tobmp", "resources", "box", "click tobmp", "resources", "box",
                          "click tobmp", "resources", "close"});
    const auto boxes = log.lines("box ");
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_THAT(boxes[0],
                HasSubstr("box 图片转BMP完成，失败 " + std::to_string(bad) + " 个：\\r\\n"));
    EXPECT_EQ(boxes[0], boxes[1]);
    EXPECT_EQ(boxes[0], boxes[2]);
    // Twenty failures are named (in the order the folder lists them), each a file that failed.
    size_t named = 0;
    for (size_t at = 0; (at = boxes[0].find("（格式不支持或文件已损坏）", at)) != std::string::npos;
         ++at) {
        const size_t start = boxes[0].rfind("\\r\\n", at) + 4;
        const int index = std::atoi(boxes[0].substr(start + 1, 3).c_str());
        EXPECT_GE(index % 4, 2) << boxes[0].substr(start, at - start) << " was named";
        ++named;
    }
    EXPECT_EQ(named, 20u);
    EXPECT_THAT(boxes[0], HasSubstr("……|信息：|8240"));
    std::vector<std::string> converted;
    for (const std::string& name : good)
        converted.push_back(name.substr(0, name.size() - 3) + "BMP");
    EXPECT_THAT(namesIn(programDir() / "BMP"), UnorderedElementsAreArray(converted));
    for (int i = 0; i < kFiles; i += 4)
        EXPECT_EQ(decode(programDir() / "BMP" / converted[static_cast<size_t>(i / 2)]),
                  pattern(1 + i % 13, 1 + i % 7, i));

    const auto measured = log.lines("resources ");
    ASSERT_EQ(measured.size(), 4u);
    std::vector<Resources> r;
    for (const std::string& line : measured)
        r.push_back(parseResources(line));
    for (size_t i = 1; i < r.size(); ++i) {
        EXPECT_EQ(r[i].fds, r[0].fds) << measured[0] << " / " << measured[i];
        EXPECT_EQ(r[i].maps, 0) << measured[i];
    }
#if !defined(__SANITIZE_ADDRESS__)
    // The smallest block glibc hands out is 32 bytes: a leak of one block per file would show as
    // 9600 bytes; what is left is the window system's own jitter of a block or two.
    EXPECT_LE(std::labs(r[3].heap - r[2].heap), 256) << measured[2] << " / " << measured[3];
#endif
}

} // namespace
} // namespace kelvarn::testing
