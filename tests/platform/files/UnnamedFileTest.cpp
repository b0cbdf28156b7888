#include "platform/files/UnnamedFile.h"
#include "platform/files/PendingFiles.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace kelvarn::testing {
namespace {

using platform::UnnamedFile;
namespace fs = std::filesystem;

bool takesUnnamedFiles(const std::string& folder) {
    UnnamedFile probe;
    return probe.create(folder) == UnnamedFile::Status::Ok;
}

TEST(UnnamedFile, HasNoNameUntilLinkedAndNeverReplacesAName) {
    TempFolder dir;
    if (!takesUnnamedFiles(dir.path()))
        GTEST_SKIP() << "the temporary folder's file system has no unnamed files";
    ASSERT_TRUE(writeFile(dir / "taken", {'o', 'l', 'd'}));
    UnnamedFile file;
    ASSERT_EQ(file.create(dir.path()), UnnamedFile::Status::Ok);
    std::ofstream(file.path()) << "whole";
    EXPECT_EQ(fs::directory_iterator(dir.path())->path().filename(), "taken");

    bool taken = false;
    EXPECT_FALSE(file.link(dir / "taken", taken));
    EXPECT_TRUE(taken);
    EXPECT_EQ(readFile(dir / "taken"), (Bytes{'o', 'l', 'd'}));
    EXPECT_FALSE(file.link(dir / "missing/new", taken));
    EXPECT_FALSE(taken);
    ASSERT_TRUE(file.link(dir / "new", taken));
    file.close();
    EXPECT_EQ(readFile(dir / "new"), (Bytes{'w', 'h', 'o', 'l', 'e'}));

    // Closed without a link, a file leaves nothing.
    ASSERT_EQ(file.create(dir.path()), UnnamedFile::Status::Ok);
    std::ofstream(file.path()) << "lost";
    file.close();
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

TEST(UnnamedFile, AFolderThatTakesNoFileFailsAndTurnedOffIsUnsupported) {
    TempFolder dir;
    UnnamedFile file;
    EXPECT_EQ(file.create(dir / "missing"), UnnamedFile::Status::Failed);
    platform::offerUnnamedFiles(false);
    EXPECT_EQ(file.create(dir.path()), UnnamedFile::Status::Unsupported);
    platform::offerUnnamedFiles(true);
    EXPECT_TRUE(file.path().empty());
}

// A child registers two names, releases one, and is ended by `signal`: the registered file is
// gone, the released one stays, and the child died of the signal.
TEST(PendingFiles, ATerminationSignalRemovesRegisteredFilesAndStillEndsTheProcess) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        TempFolder dir;
        ASSERT_TRUE(writeFile(dir / "pending", {'p'}));
        ASSERT_TRUE(writeFile(dir / "released", {'r'}));
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            platform::removePendingFilesOnTermination();
            platform::PendingFile pending;
            pending.registerName(dir / "pending");
            platform::PendingFile released;
            released.registerName(dir / "released");
            released.release();
            raise(signal);
            _exit(0); // not reached when the signal ends the process
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(WTERMSIG(status), signal);
        EXPECT_FALSE(fs::exists(dir / "pending"));
        EXPECT_TRUE(fs::exists(dir / "released"));
    }
}

} // namespace
} // namespace kelvarn::testing
