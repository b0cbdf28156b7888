#include "commands/core/FindFile.h"
#include "platform/files/FileSearch.h"
#include "runtime/core/Heap.h"
#include "runtime/core/RuntimeApp.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sys/stat.h>

using namespace kelvarn;
using namespace kelvarn::commands;
using kelvarn::testing::TempFolder;

namespace {

class FindFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        runtime::runtimeApp().reset();
        std::ofstream(m_dir / "a.png") << "a";
        std::ofstream(m_dir / "b.PNG") << "b";
        std::ofstream(m_dir / "c.bmp") << "c";
        mkdir((m_dir / "sub.png").c_str(), 0755);
    }
    void TearDown() override {
        CloseFind(m_slot);
        runtime::runtimeApp().reset();
    }

    // Every name one search yields with this filter, then checks the slot is closed.
    std::multiset<std::string> all(const std::string& pattern, uint32_t attributes,
                                   int32_t omitted) {
        std::multiset<std::string> names;
        char* name = FindFile(pattern.c_str(), attributes, omitted, &m_slot);
        while (name) {
            names.insert(name);
            runtime::MemFree(name);
            name = FindFile(nullptr, attributes, omitted, &m_slot);
        }
        EXPECT_EQ(m_slot, nullptr);
        return names;
    }

    TempFolder m_dir;
    platform::FindHandle* m_slot = nullptr;
};

} // namespace

TEST_F(FindFileTest, OmittedAttributesGiveFilesOnly) {
    EXPECT_EQ(all(m_dir.path() + "\\*.PNG", 0, 1), (std::multiset<std::string>{"a.png", "b.PNG"}));
    EXPECT_EQ(all(m_dir.path() + "\\*", 0x10, 1).size(), 3u);
}

TEST_F(FindFileTest, DirectoryFilterIncludesDotEntries) {
    EXPECT_EQ(all(m_dir / "*", 0x10, 0), (std::multiset<std::string>{".", "..", "sub.png"}));
}

TEST_F(FindFileTest, FilterBitsBeyondTheMaskAreDropped) {
    // 0x21: read-only or archive; regular files carry the archive bit.
    EXPECT_EQ(all(m_dir / "*", 0x21, 0).size(), 3u);
    // 0x08 and 0x80 leave a filter of 0: only entries whose attribute word is 0.
    EXPECT_TRUE(all(m_dir / "*", 0x08, 0).empty());
    EXPECT_TRUE(all(m_dir / "*", 0x80, 0).empty());
    EXPECT_TRUE(all(m_dir / "*", 0, 0).empty());
}

TEST_F(FindFileTest, MissingFolderAndNoMatchGiveTheEmptyText) {
    EXPECT_TRUE(all(m_dir / "missing/*.png", 0, 1).empty());
    EXPECT_TRUE(all(m_dir / "*.gif", 0, 1).empty());
}

TEST_F(FindFileTest, ContinuingAfterTheEndTouchesNothing) {
    all(m_dir / "*.bmp", 0, 1);
    EXPECT_EQ(FindFile("", 0x10, 0, &m_slot), nullptr);
    EXPECT_EQ(FindFile(nullptr, 0, 1, &m_slot), nullptr);
    EXPECT_EQ(m_slot, nullptr);
}

TEST_F(FindFileTest, FirstCallOnABusySlotRestarts) {
    char* first = FindFile((m_dir / "*.png").c_str(), 0, 1, &m_slot);
    ASSERT_NE(first, nullptr);
    runtime::MemFree(first);
    ASSERT_NE(m_slot, nullptr);
    // A new pattern replaces the open search (the old handle is closed, which the sanitizer
    // build would report as a leak otherwise).
    char* bmp = FindFile((m_dir / "*.bmp").c_str(), 0, 1, &m_slot);
    ASSERT_NE(bmp, nullptr);
    EXPECT_STREQ(bmp, "c.bmp");
    runtime::MemFree(bmp);
    EXPECT_EQ(FindFile(nullptr, 0, 1, &m_slot), nullptr);
    CloseFind(nullptr);
}

TEST_F(FindFileTest, AbandonedSearchIsClosedByCloseFind) {
    char* first = FindFile((m_dir / "*").c_str(), 0, 1, &m_slot);
    ASSERT_NE(first, nullptr);
    runtime::MemFree(first);
    ASSERT_NE(m_slot, nullptr);
    CloseFind(m_slot);
    m_slot = nullptr;
}
