#include "platform/files/FileSearch.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace kelvarn::platform;
using kelvarn::testing::TempFolder;

namespace {

void touch(const std::string& path) {
    std::ofstream(path) << "x";
}

// Every entry a search returns, by name, with its attribute word.
std::map<std::string, uint32_t> listAll(const std::string& pattern) {
    std::map<std::string, uint32_t> found;
    FindData data;
    FindHandlePtr h(findFirstFile(pattern, data));
    if (!h)
        return found;
    do {
        EXPECT_TRUE(found.emplace(data.name, data.attributes).second) << "twice: " << data.name;
    } while (findNextFile(h.get(), data));
    return found;
}

// The names a search returns, in the order it returns them.
std::vector<std::string> namesInOrder(const std::string& pattern) {
    std::vector<std::string> names;
    FindData data;
    FindHandlePtr h(findFirstFile(pattern, data));
    if (h)
        do
            names.push_back(data.name);
        while (findNextFile(h.get(), data));
    return names;
}

class FileSearch : public ::testing::Test {
protected:
    void SetUp() override {
        touch(m_dir / "a.png");
        touch(m_dir / "B.PNG");
        touch(m_dir / "c.bmp");
        touch(m_dir / ".hidden.png");
        touch(m_dir / "ab.pngx");
        mkdir((m_dir / "folder.png").c_str(), 0755);
    }
    TempFolder m_dir;
};

} // namespace

TEST_F(FileSearch, ExtensionPatternIgnoresCaseAndKeepsFoldersWithTheirAttribute) {
    auto found = listAll(m_dir.path() + "\\*.PNG");
    EXPECT_EQ(found.size(), 4u);
    EXPECT_EQ(found["a.png"], kAttrArchive);
    EXPECT_EQ(found["B.PNG"], kAttrArchive);
    EXPECT_EQ(found[".hidden.png"], kAttrArchive | kAttrHidden);
    EXPECT_EQ(found["folder.png"], kAttrDirectory);
    EXPECT_EQ(found.count("ab.pngx"), 0u);
}

TEST_F(FileSearch, StarListsDotEntriesToo) {
    auto found = listAll(m_dir / "*");
    EXPECT_EQ(found.size(), 8u);
    EXPECT_EQ(found["."], kAttrDirectory);
    EXPECT_EQ(found[".."], kAttrDirectory);
    EXPECT_EQ(listAll(m_dir / "*.*").size(), 8u);
}

TEST(FileSearchOrder, NamesComeSortedWithoutRegardToCaseDotEntriesFirst) {
    TempFolder dir;
    // Created out of order; the file system lists them in its own hash order.
    for (const char* name : {"photo 10.png", "äa.png", "Zed.png", "_under.png", "apple.png",
                             "PHOTO 1.png", "Photo 2.png", "Äb.png", "Apple.png", "1.png", "!.png"})
        touch(dir / name);
    mkdir((dir / "Bin").c_str(), 0755);
    // Letters fold to upper case as the match folds them, so '_' comes after the letters and
    // the a-umlauts (here as runtime texts) after Z and by their second letter; equal folded
    // names go by their bytes.
    // clang-format off
    const std::vector<std::string> expected = {
        ".", "..", "!.png", "1.png", "Apple.png", "apple.png", "Bin", "PHOTO 1.png",
        "photo 10.png", "Photo 2.png", "Zed.png", "_under.png", "\x81\x30\x8a\x31" "a.png",
        "\x81\x30\x87\x32" "b.png"};
    // clang-format on
    EXPECT_EQ(namesInOrder(dir / "*"), expected);
    const std::vector<std::string> photos = {"PHOTO 1.png", "photo 10.png", "Photo 2.png"};
    EXPECT_EQ(namesInOrder(dir.path() + "\\p*.PNG"), photos);
}

TEST_F(FileSearch, QuestionMarkAndInnerStar) {
    auto one = listAll(m_dir / "?.png");
    EXPECT_EQ(one.size(), 2u);
    EXPECT_TRUE(one.count("a.png") && one.count("B.PNG"));
    auto inner = listAll(m_dir / "a*x");
    ASSERT_EQ(inner.size(), 1u);
    EXPECT_TRUE(inner.count("ab.pngx"));
}

TEST_F(FileSearch, NoMatchMissingFolderAndMalformedPatternsGiveNoSearch) {
    FindData data;
    EXPECT_EQ(findFirstFile(m_dir / "*.gif", data), nullptr);
    EXPECT_EQ(findFirstFile(m_dir / "missing\\*.png", data), nullptr);
    EXPECT_EQ(findFirstFile(m_dir.path() + "/", data), nullptr);
    EXPECT_EQ(findFirstFile(m_dir / "*/a.png", data), nullptr);
    findClose(nullptr);
}

TEST_F(FileSearch, PlainNameFindsTheEntryInAnyCase) {
    FindData data;
    FindHandlePtr exact(findFirstFile(m_dir / "c.bmp", data));
    ASSERT_TRUE(exact);
    EXPECT_EQ(data.name, "c.bmp");
    EXPECT_FALSE(findNextFile(exact.get(), data));
    FindHandlePtr other(findFirstFile(m_dir / "C.BMP", data));
    ASSERT_TRUE(other);
    EXPECT_EQ(data.name, "c.bmp");
    FindHandlePtr folder(findFirstFile(m_dir / "folder.png", data));
    ASSERT_TRUE(folder);
    EXPECT_EQ(data.attributes, kAttrDirectory);
}

TEST_F(FileSearch, ReadOnlyWhenNotWritableByUs) {
    chmod((m_dir / "c.bmp").c_str(), 0444);
    FindData data;
    FindHandlePtr h(findFirstFile(m_dir / "c.bmp", data));
    ASSERT_TRUE(h);
    // root may write anything, so there the file is not read-only for us.
    uint32_t expected = geteuid() == 0 ? kAttrArchive : (kAttrArchive | kAttrReadOnly);
    EXPECT_EQ(data.attributes, expected);
}

TEST_F(FileSearch, NamesComeBackAsRuntimeTexts) {
    touch(m_dir / "图片.png");
    touch(m_dir / "bad\xff.png");
    auto found = listAll(m_dir / "*.png");
    EXPECT_TRUE(found.count("\xcd\xbc\xc6\xac.png"));
    // Searching with a runtime-text pattern finds the Chinese name.
    EXPECT_EQ(listAll(m_dir.path() + "\\\xcd\xbc*").size(), 1u);
    // The undecodable byte is escaped, not dropped: the name has more than the 8 bytes left
    // after a loss.
    size_t escaped = 0;
    for (auto& [name, attr] : found)
        if (name.rfind("bad", 0) == 0)
            escaped = name.size();
    EXPECT_EQ(escaped, 3u + 4u + 4u);
}

TEST(Wildcard, MatchTable) {
    struct Row {
        const char* pattern;
        const char* name;
        bool match;
    } rows[] = {
        {"*", "anything", true},
        {"*.png", "x.PNG", true},
        {"*.png", "x.png.bak", false},
        {"a?c", "abc", true},
        {"a?c", "ac", false},
        {"*b*", "abc", true},
        {"**", "", true},
        {"?", "", false},
        {"*.*", "noext", true},
        {"A*Z", "abcz", true},
        {"a*b*c", "aXbYbZc", true},
        {"a*b*c", "aXbYbZ", false},
        {"\xcd\xbc?", "\xcd\xbc\xc6\xac", true}, // '?' is one double-byte character
    };
    for (const auto& r : rows)
        EXPECT_EQ(wildcardMatch(r.pattern, r.name), r.match) << r.pattern << " vs " << r.name;
}
