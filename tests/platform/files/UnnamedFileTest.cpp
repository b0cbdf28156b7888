#include "platform/files/UnnamedFile.h"
#include "platform/files/PendingFiles.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace kelvarn::testing {
namespace {

using platform::UnnamedFile;
namespace fs = std::filesystem;

// What the file is for (linked in whole, never over a name) is tested through TargetFile.

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
