// Faults a batch meets on a real machine: a full disk while the pixel file is made and while the
// target is written, a file-size limit, a source nobody may read, a source that vanished after
// it was listed, a pipe with a picture's name, a target folder that is a file or read-only.
// Each gives its code, leaves no partial target and no temporary file, and the next file of
// the batch converts.

#include "commands/image/ConversionCommands.h"
#include "imaging/LoaderChain.h"
#include "platform/files/Process.h"
#include "tests/imaging/HostileInputTest.h"

#include <filesystem>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvarn::testing {
using namespace kelvarn::imaging;
using namespace kelvarn::commands;
namespace {

namespace fs = std::filesystem;
using kelvarn::testing::Bytes;
using kelvarn::testing::commandToBmp;
using kelvarn::testing::commandToPng;
using kelvarn::testing::inChild;
using kelvarn::testing::kChildDied;

constexpr uid_t kNobody = 65534;

class FaultTest : public kelvarn::testing::ScratchFolderTest {
protected:
    // A 24-bit picture whose pixel file takes width x height x 3 bytes and whose BMP takes a
    // little more (rows padded to four bytes, 54 bytes of headers).
    // Noise, so that no encoder can squeeze it below its raw size.
    void writeSource(const std::string& name, int width, int height) {
        Bytes rgb(static_cast<size_t>(width) * height * 3);
        uint32_t state = 12345;
        for (uint8_t& b : rgb) {
            state = state * 1103515245u + 12345u;
            b = static_cast<uint8_t>(state >> 16);
        }
        ASSERT_TRUE(testing::writeFile(work(name), testing::pngRgb(width, height, rgb)));
    }
    std::string root() const { return fs::path(workFolder()).parent_path().string(); }
    // Lets another user into the test's folders (the child that drops root needs them).
    void openFoldersToEveryone() {
        fs::permissions(root(), fs::perms::all, fs::perm_options::replace);
        fs::permissions(workFolder(), fs::perms::all, fs::perm_options::replace);
        fs::permissions(tmpFolder(), fs::perms::all, fs::perm_options::replace);
    }
    // In a child: stop being root, so that permissions apply.
    static bool dropRoot() {
        return geteuid() != 0 || (setgid(kNobody) == 0 && setuid(kNobody) == 0);
    }
};

// A small tmpfs mounted for one test; skipped where mounting is not allowed.
class SmallDisk {
public:
    SmallDisk(const std::string& path, const char* size) : m_path(path) {
        fs::create_directory(path);
        const std::string options = std::string("size=") + size + ",mode=0777";
        m_mounted = mount("kelvarn-test", path.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallDisk() {
        if (m_mounted)
            umount2(m_path.c_str(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }

private:
    std::string m_path;
    bool m_mounted = false;
};

TEST_F(FaultTest, AFullDiskFailsTheTargetWriteAndKeepsTheOldTarget) {
    SmallDisk disk(work("disk"), "192k");
    if (!disk.mounted())
        GTEST_SKIP() << "mounting a tmpfs is not allowed here; the file-size limit test covers "
                        "the same write failures";
    writeSource("big.png", 300, 300); // 270 kB as BMP or PNG, more than the disk holds
    writeSource("small.png", 8, 8);
    const std::string target = work("disk/out.bmp");
    ASSERT_EQ(commandToBmp(work("small.png"), target), kConvertOk);
    const Bytes before = testing::readFile(target);

    EXPECT_EQ(commandToBmp(work("big.png"), target), kConvertWriteFailed);
    EXPECT_EQ(commandToPng(work("big.png"), work("disk/out.png")), kConvertWriteFailed);
    EXPECT_EQ(testing::readFile(target), before) << "the earlier target is kept whole";
    EXPECT_EQ(entries(work("disk")), std::vector<std::string>{"out.bmp"})
        << "no partial target and no sibling on the full disk";
    // The batch goes on.
    EXPECT_EQ(commandToBmp(work("small.png"), work("disk/next.bmp")), kConvertOk);
}

TEST_F(FaultTest, AFullTemporaryDiskFailsThePixelFileAndLeavesNothing) {
    SmallDisk disk(work("tmpdisk"), "128k");
    if (!disk.mounted())
        GTEST_SKIP() << "mounting a tmpfs is not allowed here; the file-size limit test covers "
                        "the same pixel file failure";
    writeSource("big.png", 300, 300); // 270 kB of pixels
    writeSource("small.png", 8, 8);
    setenv("TMPDIR", work("tmpdisk").c_str(), 1);
    // The picture cannot be held: no decoder delivers it, so the load fails as unrecognised.
    const int32_t code = commandToBmp(work("big.png"), work("big.bmp"));
    EXPECT_NE(code, kConvertOk);
    EXPECT_EQ(code, kLoadUnrecognised);
    EXPECT_FALSE(fs::exists(work("big.bmp")));
    EXPECT_EQ(entries(work("tmpdisk")), std::vector<std::string>{}) << "no pixel file is left";
    EXPECT_EQ(commandToBmp(work("small.png"), work("small.bmp")), kConvertOk);
    setenv("TMPDIR", tmpFolder().c_str(), 1);
}

TEST_F(FaultTest, AFileSizeLimitFailsWritesAsValuesNotAsASignal) {
    writeSource("a.png", 199, 200); // pixels 119400 bytes, BMP 120054
    writeSource("small.png", 8, 8);
    const int64_t limited = inChild([&]() -> int64_t {
        platform::prepareProcess();
        const rlimit limit{119500, 119500};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return -1000;
        // The pixel file fits, the target does not.
        const int32_t bmp = commandToBmp(work("a.png"), work("a.bmp"));
        const int32_t after = commandToBmp(work("small.png"), work("small.bmp"));
        // Below the pixel file: the load itself fails.
        const rlimit tiny{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &tiny);
        const int32_t load = commandToPng(work("a.png"), work("a2.png"));
        return (bmp == kConvertWriteFailed) + 10 * (after == kConvertOk) +
               100 * (load == kLoadUnrecognised);
    });
    EXPECT_NE(limited, kChildDied) << "SIGXFSZ ended the process";
    EXPECT_EQ(limited, 111);
    EXPECT_EQ(entries(workFolder()), (std::vector<std::string>{"a.png", "small.bmp", "small.png"}))
        << "no partial target, no sibling";
}

TEST_F(FaultTest, UnreadableVanishedAndSpecialSourcesGiveTheirCodesAndTheBatchGoesOn) {
    writeSource("good.png", 5, 4);
    writeSource("locked.png", 5, 4);
    ASSERT_EQ(chmod(work("locked.png").c_str(), 0), 0);
    ASSERT_EQ(mkfifo(work("pipe.png").c_str(), 0666), 0);
    openFoldersToEveryone();

    // Listed, then deleted before its turn.
    writeSource("gone.png", 5, 4);
    fs::remove(work("gone.png"));
    EXPECT_EQ(commandToBmp(work("gone.png"), work("gone.bmp")), kLoadNotFound);
    EXPECT_EQ(commandToBmp(work("good.png"), work("good.bmp")), kConvertOk);

    // A pipe named like a picture would block the first open; it is refused at once.
    const int64_t pipe =
        inChild([&]() -> int64_t { return commandToBmp(work("pipe.png"), work("pipe.bmp")); }, 10);
    EXPECT_EQ(pipe, kLoadUnrecognised) << "a pipe source hung or crashed the conversion";

    // Permissions bind only other users: the child stops being root first.
    const int64_t locked = inChild([&]() -> int64_t {
        if (!dropRoot())
            return -1000;
        return commandToBmp(work("locked.png"), work("locked.bmp")) * 10 +
               (commandToBmp(work("good.png"), work("good2.bmp")) == kConvertOk);
    });
    EXPECT_EQ(locked, kLoadUnrecognised * 10 + 1);
    EXPECT_FALSE(fs::exists(work("locked.bmp")));
    EXPECT_FALSE(fs::exists(work("pipe.bmp")));
    fs::remove(work("pipe.png"));
    fs::remove(work("good2.bmp"));
}

TEST_F(FaultTest, TargetFoldersThatCannotTakeAFileGiveMinusFourAndTheBatchGoesOn) {
    writeSource("good.png", 5, 4);
    ASSERT_TRUE(testing::writeFile(work("plain"), {1, 2, 3}));
    EXPECT_EQ(commandToBmp(work("good.png"), work("plain/good.bmp")), kConvertWriteFailed);
    EXPECT_EQ(commandToPng(work("good.png"), work("plain/good.png")), kConvertWriteFailed);
    EXPECT_EQ(testing::readFile(work("plain")), (Bytes{1, 2, 3}));
    EXPECT_EQ(commandToBmp(work("good.png"), work("missing/good.bmp")), kConvertWriteFailed);

    fs::create_directory(work("readonly"));
    openFoldersToEveryone();
    fs::permissions(work("readonly"),
                    fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                        fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec,
                    fs::perm_options::replace);
    const int64_t readOnly = inChild([&]() -> int64_t {
        if (!dropRoot())
            return -1000;
        return commandToBmp(work("good.png"), work("readonly/good.bmp")) * 10 +
               (commandToBmp(work("good.png"), work("good.bmp")) == kConvertOk);
    });
    EXPECT_EQ(readOnly, kConvertWriteFailed * 10 + 1);
    EXPECT_EQ(entries(work("readonly")), std::vector<std::string>{});
    EXPECT_TRUE(fs::exists(work("good.bmp")));
}

} // namespace
} // namespace kelvarn::testing

namespace kelvarn::testing {
using namespace kelvarn::imaging;
using namespace kelvarn::commands;
namespace {

TEST_F(FaultTest, PlantedPixelFileNamesAreNeitherFollowedNorDeletedNorOverwritten) {
    writeSource("a.png", 6, 5);
    const std::string planted = tmpFolder() + "/QUILBRIX0.tmp";
    const std::string link = tmpFolder() + "/QUILBRIX1.tmp";
    ASSERT_TRUE(testing::writeFile(planted, {'k', 'e', 'e', 'p'}));
    ASSERT_TRUE(testing::writeFile(work("victim"), {'v'}));
    fs::create_symlink(work("victim"), link);

    EXPECT_EQ(commandToBmp(work("a.png"), work("a.bmp")), kConvertOk);
    EXPECT_EQ(commandToPng(work("a.bmp"), work("b.png")), kConvertOk);
    EXPECT_EQ(testing::readFile(planted), (Bytes{'k', 'e', 'e', 'p'}));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(testing::readFile(work("victim")), (Bytes{'v'}));
    EXPECT_EQ(entries(tmpFolder()), (std::vector<std::string>{"QUILBRIX0.tmp", "QUILBRIX1.tmp"}))
        << "the pixel files took the next numbers and were removed";
    fs::remove(planted);
    fs::remove(link);
}

} // namespace
} // namespace kelvarn::testing
