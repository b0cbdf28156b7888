#include "imaging/TargetFile.h"
#include "platform/files/PendingFiles.h"
#include "platform/files/UnnamedFile.h"
#include "tests/support/FileBytes.h"
#include "tests/support/ScratchFolderTest.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace kelvarn::testing {
using namespace kelvarn::imaging;
namespace {

struct Way {
    const char* name;
    bool unnamed; // unnamed files offered, or the hidden sibling
};
// The sibling first: it runs on every file system, and a skip ends the test.
constexpr Way kWays[] = {{"hidden sibling", false}, {"unnamed file", true}};

class TargetFileTest : public ScratchFolderTest {
protected:
    void TearDown() override {
        platform::offerUnnamedFiles(true);
        ScratchFolderTest::TearDown();
    }
    // Takes `way`; false when this folder's file system cannot.
    bool take(const Way& way) {
        platform::offerUnnamedFiles(way.unnamed);
        platform::UnnamedFile probe;
        return !way.unnamed || probe.create(workFolder()) == platform::UnnamedFile::Status::Ok;
    }
    static bool writeThrough(const TargetFile& file, const Bytes& bytes) {
        std::FILE* stream = std::fopen(file.path(), "wb");
        const bool ok =
            stream && std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
        return stream && std::fclose(stream) == 0 && ok;
    }
};

// Until commit the folder shows the target as it was (and, the other way, the sibling); after
// it only the target, with the new bytes.
TEST_F(TargetFileTest, ACommitPutsTheWholeFileInPlaceAndNothingElse) {
    const Bytes written = {'n', 'e', 'w'};
    for (const Way& way : kWays) {
        for (const bool existing : {false, true}) {
            SCOPED_TRACE(std::string(way.name) + (existing ? ", replacing" : ", new"));
            if (!take(way))
                GTEST_SKIP() << "the work folder's file system has no unnamed files";
            if (existing) {
                ASSERT_TRUE(writeFile(work("t.png"), {'o', 'l', 'd'}));
            }
            TargetFile file;
            ASSERT_TRUE(file.create(work("t.png").c_str()));
            ASSERT_TRUE(writeThrough(file, written));
            std::vector<std::string> before;
            if (existing)
                before.push_back("t.png");
            if (!way.unnamed)
                before.insert(before.begin(), ".kelvarn0.tmp");
            EXPECT_EQ(entries(workFolder()), before);
            ASSERT_TRUE(file.commit());
            EXPECT_EQ(entries(workFolder()), std::vector<std::string>{"t.png"});
            EXPECT_EQ(readFile(work("t.png")), written);
            std::filesystem::remove(work("t.png"));
        }
    }
}

TEST_F(TargetFileTest, ADiscardedOrFailedFileLeavesTheTargetAsItWas) {
    for (const Way& way : kWays) {
        SCOPED_TRACE(way.name);
        if (!take(way))
            GTEST_SKIP() << "the work folder's file system has no unnamed files";
        ASSERT_TRUE(writeFile(work("t.png"), {'o', 'l', 'd'}));
        {
            TargetFile dropped;
            ASSERT_TRUE(dropped.create(work("t.png").c_str()));
            ASSERT_TRUE(writeThrough(dropped, {'x'}));
        }
        // A folder in the way of the rename: the commit fails and takes its file with it.
        std::filesystem::create_directories(work("dir.png/inside"));
        TargetFile blocked;
        ASSERT_TRUE(blocked.create(work("dir.png").c_str()));
        EXPECT_FALSE(blocked.commit());
        TargetFile nowhere;
        EXPECT_FALSE(nowhere.create(work("missing/t.png").c_str()));
        EXPECT_FALSE(nowhere.create(work("").c_str()));
        EXPECT_EQ(entries(workFolder()), (std::vector<std::string>{"dir.png", "t.png"}));
        EXPECT_EQ(readFile(work("t.png")), (Bytes{'o', 'l', 'd'}));
        std::filesystem::remove_all(work("dir.png"));
    }
}

// Ended by SIGTERM while a hidden sibling is being written, a converting process removes it.
TEST_F(TargetFileTest, ATerminationSignalRemovesTheHiddenSibling) {
    ASSERT_TRUE(writeFile(work("t.png"), {'o', 'l', 'd'}));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        platform::offerUnnamedFiles(false);
        platform::removePendingFilesOnTermination();
        TargetFile file;
        if (!file.create(work("t.png").c_str()) || !writeThrough(file, {'x'}))
            _exit(1);
        raise(SIGTERM);
        _exit(2);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit " << WEXITSTATUS(status);
    EXPECT_EQ(entries(workFolder()), std::vector<std::string>{"t.png"});
    EXPECT_EQ(readFile(work("t.png")), (Bytes{'o', 'l', 'd'}));
}

} // namespace
} // namespace kelvarn::testing
