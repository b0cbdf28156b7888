#include "platform/files/FileSystem.h"
#include "platform/files/DynamicLibrary.h"
#include "platform/files/FileMapping.h"
#include "platform/files/Process.h"
#include "platform/files/UnnamedFile.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace kelvarn::platform;
using kelvarn::testing::TempFolder;

namespace {
// The file's bytes as text, to compare with what a test wrote.
std::string readFile(const std::string& path) {
    const kelvarn::testing::Bytes bytes = kelvarn::testing::readFile(path);
    return std::string(bytes.begin(), bytes.end());
}
} // namespace

namespace {
// The lines of /proc/self/maps that name `path`.
std::vector<std::string> mapsOf(const std::string& path) {
    std::vector<std::string> found;
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);)
        if (line.find(path) != std::string::npos)
            found.push_back(line);
    return found;
}
} // namespace

TEST(FileMapping, TheMemoryHasNoNameLeftAndGoesWithTheMapping) {
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed file" : "named file");
        offerUnnamedFiles(unnamed);
        TempFolder dir;
        const std::string path = dir / "pixels.tmp";
        FileMapping map;
        ASSERT_EQ(map.create(path, 10000), FileMapping::Status::Ok);
        // The name is gone while the memory lives (an unnamed file never had one); only the
        // mapping holds the deleted file.
        EXPECT_NE(access(path.c_str(), F_OK), 0);
        EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
        const std::vector<std::string> lines = mapsOf(dir.path() + "/");
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NE(lines[0].find("(deleted)"), std::string::npos) << lines[0];
        // Through the mapping's own link the file is seen as it was made (root may read it).
        struct stat st;
        const std::string range = lines[0].substr(0, lines[0].find(' '));
        if (stat(("/proc/self/map_files/" + range).c_str(), &st) == 0) {
            EXPECT_EQ(st.st_mode & 0777, 0600u);
            EXPECT_EQ(st.st_size, 10000);
        }
        auto* bytes = static_cast<unsigned char*>(map.data());
        for (size_t i = 0; i < map.size(); ++i)
            ASSERT_EQ(bytes[i], 0) << i;
        bytes[0] = 'K';
        bytes[9999] = 'n';
        map.flush(5000, 0);
        map.flush();
        EXPECT_EQ(bytes[0], 'K');
        EXPECT_EQ(bytes[9999], 'n');
        map.close();
        EXPECT_FALSE(map.isOpen());
        EXPECT_TRUE(mapsOf(dir.path() + "/").empty());
        EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    }
    offerUnnamedFiles(true);
}

// Where a name is needed (no unnamed files), a taken one is left alone.
TEST(FileMapping, ATakenNameIsNeitherOpenedNorFollowed) {
    offerUnnamedFiles(false);
    TempFolder dir;
    std::string existing = dir / "QUILBRIX0.tmp";
    std::ofstream(existing) << "keep me";
    std::string target = dir / "elsewhere";
    std::ofstream(target) << "target";
    std::string link = dir / "QUILBRIX1.tmp";
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    std::string dangling = dir / "QUILBRIX2.tmp";
    ASSERT_EQ(symlink((dir / "nowhere").c_str(), dangling.c_str()), 0);

    FileMapping map;
    EXPECT_EQ(map.create(existing, 64), FileMapping::Status::NameTaken);
    EXPECT_EQ(map.create(link, 64), FileMapping::Status::NameTaken);
    EXPECT_EQ(map.create(dangling, 64), FileMapping::Status::NameTaken);
    EXPECT_EQ(readFile(existing), "keep me");
    EXPECT_EQ(readFile(target), "target");
    EXPECT_NE(access((dir / "nowhere").c_str(), F_OK), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_TRUE(std::filesystem::is_symlink(dangling));
    offerUnnamedFiles(true);
}

TEST(FileMapping, FailuresLeaveNoFile) {
    TempFolder dir;
    FileMapping map;
    EXPECT_EQ(map.create(dir / "missing/x.tmp", 64), FileMapping::Status::Failed);
    EXPECT_EQ(map.create(dir / "zero.tmp", 0), FileMapping::Status::Failed);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(FileMapping, MoveKeepsOneOwner) {
    TempFolder dir;
    FileMapping a;
    ASSERT_EQ(a.create(dir / "m.tmp", 4096), FileMapping::Status::Ok);
    static_cast<char*>(a.data())[0] = 1;
    FileMapping b(std::move(a));
    EXPECT_FALSE(a.isOpen());
    ASSERT_TRUE(b.isOpen());
    EXPECT_EQ(static_cast<char*>(b.data())[0], 1);
    a = std::move(b);
    EXPECT_FALSE(b.isOpen());
    a.close();
    EXPECT_TRUE(mapsOf(dir / "m.tmp").empty());
}

TEST(FileSystem, DirectoriesOneLevelAtATime) {
    TempFolder dir;
    EXPECT_TRUE(createDirectory(dir.path() + "\\PNG"));
    EXPECT_TRUE(isDirectory(dir / "PNG"));
    EXPECT_FALSE(createDirectory(dir / "PNG"));
    EXPECT_FALSE(createDirectory(dir / "a/b"));
    EXPECT_FALSE(deleteFile(dir / "PNG"));
    EXPECT_TRUE(isDirectory(dir / "PNG"));
}

TEST(FileSystem, DeleteRemovesALinkNotItsTarget) {
    TempFolder dir;
    std::ofstream(dir / "target") << "t";
    ASSERT_EQ(symlink((dir / "target").c_str(), (dir / "link").c_str()), 0);
    EXPECT_TRUE(deleteFile(dir / "link"));
    EXPECT_EQ(readFile(dir / "target"), "t");
    EXPECT_FALSE(deleteFile(dir / "link"));
}

TEST(FileSystem, RenameReplacesAndStreamsOpenRuntimePaths) {
    TempFolder dir;
    std::string gbName = dir.path() + "\\\xcd\xbc\xc6\xac.txt"; // 图片.txt
    {
        StreamPtr out = openStream(gbName, "wb");
        ASSERT_TRUE(out);
        std::fputs("new", out.get());
    }
    EXPECT_EQ(readFile(dir / "图片.txt"), "new");
    std::ofstream(dir / "old.txt") << "old";
    EXPECT_TRUE(renameFile(gbName, dir / "old.txt"));
    EXPECT_EQ(readFile(dir / "old.txt"), "new");
    EXPECT_FALSE(pathExists(gbName));
    EXPECT_FALSE(openStream(dir / "none.txt", "rb"));
}

TEST(FileSystem, RegularFileSizeIsKnownOnlyForRegularFiles) {
    TempFolder dir;
    std::ofstream(dir / "five") << "12345";
    StreamPtr file = openStream(dir / "five", "rb");
    ASSERT_TRUE(file);
    std::fgetc(file.get());
    EXPECT_EQ(regularFileSize(file.get()), 5);
    EXPECT_EQ(std::ftell(file.get()), 1);
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    EXPECT_EQ(regularFileSize(ends[0]), -1);
    close(ends[0]);
    close(ends[1]);
    EXPECT_EQ(regularFileSize(-1), -1);
    EXPECT_EQ(regularFileSize(static_cast<std::FILE*>(nullptr)), -1);
}

TEST(FileSystem, TemporaryDirectoryHonoursTmpdirOnlyWhenItExists) {
    const char* saved = std::getenv("TMPDIR");
    std::string savedValue = saved ? saved : "";
    TempFolder dir;
    setenv("TMPDIR", (dir.path() + "//").c_str(), 1);
    EXPECT_EQ(temporaryDirectory(), dir.path());
    setenv("TMPDIR", (dir / "missing").c_str(), 1);
    EXPECT_EQ(temporaryDirectory(), "/tmp");
    unsetenv("TMPDIR");
    EXPECT_EQ(temporaryDirectory(), "/tmp");
    if (saved)
        setenv("TMPDIR", savedValue.c_str(), 1);
}

TEST(Process, ProgramPathAndCurrentDirectory) {
    std::string self = programPath();
    EXPECT_NE(self.find("platform_files_tests"), std::string::npos) << self;
    EXPECT_EQ(self.front(), '/');
    std::string before = currentDirectory();
    TempFolder dir;
    ASSERT_TRUE(setCurrentDirectory(dir.path()));
    char resolved[4096];
    ASSERT_TRUE(realpath(dir.path().c_str(), resolved));
    EXPECT_EQ(currentDirectory(), resolved);
    ASSERT_TRUE(setCurrentDirectory(before));
    EXPECT_FALSE(setCurrentDirectory(dir / "missing"));
}

TEST(Process, TickCountAdvancesAndThreadIdIsStable) {
    uint32_t t0 = tickCount();
    usleep(20000);
    uint32_t elapsed = tickCount() - t0;
    EXPECT_GE(elapsed, 15u);
    EXPECT_LT(elapsed, 5000u);
    EXPECT_EQ(currentThreadId(), currentThreadId());
    EXPECT_NE(currentThreadId(), 0u);
}

TEST(Process, HeapBlocksKeepTheirContentAcrossRealloc) {
    auto* p = static_cast<char*>(heapAlloc(16));
    ASSERT_TRUE(p);
    std::memcpy(p, "0123456789abcdef", 16);
    p = static_cast<char*>(heapRealloc(p, 1 << 20));
    ASSERT_TRUE(p);
    EXPECT_EQ(std::string(p, 16), "0123456789abcdef");
    heapFree(p);
    heapFree(nullptr);
}

TEST(DynamicLibrary, ResolvesExportsAndRefusesMissingOnes) {
    auto libm = DynamicLibrary::load("libm.so.6");
    ASSERT_TRUE(libm);
    auto cosine = reinterpret_cast<double (*)(double)>(libm->symbol("cos"));
    ASSERT_TRUE(cosine);
    EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
    EXPECT_EQ(libm->symbol("no_such_export_here"), nullptr);
    EXPECT_EQ(DynamicLibrary::load("/nonexistent/lib.so"), nullptr);
}
