// Ends kelvarn-convert with SIGKILL or SIGTERM at chosen moments of a conversion of a large
// picture, both ways, with and without an existing target, and checks that nothing is left
// behind: the temporary folder empty, no name but the target's in the target folder, and the
// target either as it was or whole.

#include "tests/support/FileBytes.h"
#include "tests/support/PictureFiles.h"
#include "tests/support/ScratchFolderTest.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace kelvarn::testing {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kWidth = 2560;
constexpr int kHeight = 1600;

struct Direction {
    const char* mode;
    const char* source;
    const char* target;
};
constexpr Direction kDirections[] = {{"png", "big.bmp", "out.png"}, {"bmp", "big.png", "out.bmp"}};
// Moments as fractions of an uninterrupted run of the same conversion.
constexpr double kMoments[] = {0.05, 0.3, 0.6};
constexpr int kSignals[] = {SIGKILL, SIGTERM};

bool takesUnnamedFiles(const std::string& folder) {
    const int fd = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    close(fd);
    return true;
}

// Smooth colours with a little noise, so that neither codec finds the picture trivial.
Bytes largePicture() {
    Bytes rgb(static_cast<size_t>(kWidth) * kHeight * 3);
    uint32_t noise = 12345;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            noise = noise * 1103515245u + 12345u;
            uint8_t* p = &rgb[(static_cast<size_t>(y) * kWidth + x) * 3];
            p[0] = static_cast<uint8_t>(x + (noise >> 27));
            p[1] = static_cast<uint8_t>(y + (noise >> 28));
            p[2] = static_cast<uint8_t>((x ^ y) + (noise >> 29));
        }
    return rgb;
}

class ConvertKillTest : public ScratchFolderTest {
protected:
    // Starts kelvarn-convert with TMPDIR set to `tmpDir` and its output thrown away.
    pid_t start(const Direction& way, const std::string& tmpDir, const std::string& target) {
        std::vector<std::string> env = {"TMPDIR=" + tmpDir};
        for (char** e = environ; *e; ++e)
            if (std::string(*e).rfind("TMPDIR=", 0) != 0)
                env.push_back(*e);
        std::vector<char*> envp;
        for (std::string& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        const std::string source = work(way.source);
        const char* argv[] = {KELVARN_CONVERT_BINARY, way.mode, source.c_str(), target.c_str(),
                              nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        pid_t pid = -1;
        const int r = posix_spawn(&pid, KELVARN_CONVERT_BINARY, &actions, nullptr,
                                  const_cast<char**>(argv), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        return r == 0 ? pid : -1;
    }
    static int wait(pid_t pid) {
        int status = 0;
        return waitpid(pid, &status, 0) == pid ? status : -1;
    }
};

TEST_F(ConvertKillTest, NothingIsLeftBehindWhereverTheProcessIsEnded) {
    if (!takesUnnamedFiles(tmpFolder()) || !takesUnnamedFiles(workFolder()))
        GTEST_SKIP() << "the temporary folder's file system has no unnamed files (O_TMPFILE)";
    ASSERT_TRUE(writeFile(work("big.bmp"), bmpFile(kWidth, kHeight, largePicture())));

    // An uninterrupted run of each way gives its length and the whole target to compare with;
    // the PNG way first, as its target is the other's source.
    std::vector<double> seconds;
    std::vector<Bytes> whole;
    for (const Direction& way : kDirections) {
        const auto begin = Clock::now();
        const pid_t pid = start(way, tmpFolder(), work(way.target));
        ASSERT_GT(pid, 0);
        ASSERT_EQ(wait(pid), 0) << way.mode;
        seconds.push_back(std::chrono::duration<double>(Clock::now() - begin).count());
        whole.push_back(readFile(work(way.target)));
        fs::rename(work(way.target), work(way.mode == std::string("png") ? "big.png" : "ref.bmp"));
    }

    struct Case {
        size_t way;
        int signal;
        double moment;
        bool existing;
    };
    std::vector<Case> cases;
    for (size_t d = 0; d < std::size(kDirections); ++d)
        for (const int signal : kSignals)
            for (const double moment : kMoments)
                for (const bool existing : {false, true})
                    cases.push_back({d, signal, moment, existing});

    const Bytes old = {'o', 'l', 'd'};
    int ended = 0;
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const Direction& way = kDirections[c.way];
        SCOPED_TRACE(std::string(way.mode) + ", signal " + std::to_string(c.signal) + " at " +
                     std::to_string(c.moment) + (c.existing ? ", over a target" : ""));
        const std::string folder = work("case" + std::to_string(i));
        const std::string caseTmp = folder + "/tmp", out = folder + "/out";
        fs::create_directories(caseTmp);
        fs::create_directories(out);
        const std::string target = out + "/" + way.target;
        ASSERT_TRUE(!c.existing || writeFile(target, old));

        const pid_t pid = start(way, caseTmp, target);
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(std::chrono::duration<double>(c.moment * seconds[c.way]));
        kill(pid, c.signal);
        ended += WIFSIGNALED(wait(pid)) ? 1 : 0;

        EXPECT_EQ(entries(caseTmp), std::vector<std::string>{});
        const std::vector<std::string> names = entries(out);
        if (names.empty()) {
            EXPECT_FALSE(c.existing) << "the existing target is gone";
        } else {
            EXPECT_EQ(names, std::vector<std::string>{way.target});
            const Bytes now = readFile(target);
            EXPECT_TRUE(now == whole[c.way] || (c.existing && now == old))
                << "a target of " << now.size() << " bytes is neither whole nor old";
        }
        fs::remove_all(folder);
    }
    // The moments are meant to fall inside the runs; most must have ended a live process.
    EXPECT_GT(ended, static_cast<int>(cases.size()) / 2)
        << ended << " of " << cases.size() << " runs ended by the signal";
}

} // namespace
} // namespace kelvarn::testing
