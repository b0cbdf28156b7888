#include "runtime/core/Text.h"
#include "runtime/core/Heap.h"
#include "tests/runtime/core/RuntimeFixture.h"

#include <cstring>

namespace kelvarn::testing {
using namespace kelvarn::runtime;
namespace {

using TextTest = RuntimeTest;

TEST_F(TextTest, LengthCountsBytes) {
    EXPECT_EQ(TextLen(nullptr), 0);
    EXPECT_EQ(TextLen(""), 0);
    EXPECT_EQ(TextLen(gb("图片转PNG").c_str()), 9); // GBK: two bytes per Chinese character
}

TEST_F(TextTest, CompareTreatsNullAsEmptyAndBytesAsUnsigned) {
    EXPECT_EQ(TextCompare(nullptr, ""), 0);
    EXPECT_EQ(TextCompare("", nullptr), 0);
    EXPECT_EQ(TextCompare(nullptr, nullptr), 0);
    EXPECT_EQ(TextCompare(nullptr, "a"), -1);
    EXPECT_EQ(TextCompare("a", nullptr), 1);
    EXPECT_EQ(TextCompare("a", "b"), -1);
    EXPECT_EQ(TextCompare("b", "a"), 1);
    EXPECT_EQ(TextCompare("ab", "abc"), -1);
    EXPECT_EQ(TextCompare("abc", "ab"), 1);
    EXPECT_EQ(TextCompare("abc", "abc"), 0);
    EXPECT_EQ(TextCompare("\xb0", "\x41"), 1);
    EXPECT_EQ(TextCompare("\x41", "\xb0"), -1);
    EXPECT_EQ(TextCompare(gb("转BMP").c_str(), gb("转PNG").c_str()), -1);
}

TEST_F(TextTest, ConcatenationSkipsNullPiecesInOneNewBlock) {
    const char folder[] = "D:\\pics";
    char* joined = TextConcat(folder, "\\", static_cast<const char*>(nullptr));
    EXPECT_STREQ(joined, "D:\\pics\\");
    EXPECT_NE(joined, folder);
    MemFree(joined);

    char* empty = TextConcat({nullptr, nullptr});
    ASSERT_NE(empty, nullptr);
    EXPECT_STREQ(empty, "");
    MemFree(empty);

    std::string a = gb("图片转"), b = gb("成功");
    char* message = TextConcat({a.c_str(), "PNG", b.c_str()});
    EXPECT_EQ(std::string(message), gb("图片转PNG成功"));
    MemFree(message);
}

TEST_F(TextTest, LibraryCopiesReturnNullForEmptyResults) {
    EXPECT_EQ(CopyText(nullptr), nullptr);
    EXPECT_EQ(CopyText(""), nullptr);
    char* copy = CopyText("abc");
    EXPECT_STREQ(copy, "abc");
    MemFree(copy);

    EXPECT_EQ(CopyTextPrefix("abc", 0), nullptr);
    EXPECT_EQ(CopyTextPrefix("abc", -1), nullptr);
    char* prefix = CopyTextPrefix("abcdef", 3);
    EXPECT_STREQ(prefix, "abc");
    MemFree(prefix);
}

TEST_F(TextTest, BinaryBlocksCarryOneDimensionAndTheirLength) {
    EXPECT_EQ(MakeBinary("xy", 0), nullptr);
    const unsigned char bytes[] = {0, 0xFF, 7};
    auto* block = static_cast<unsigned char*>(MakeBinary(bytes, 3));
    int32_t header[2];
    std::memcpy(header, block, 8);
    EXPECT_EQ(header[0], 1);
    EXPECT_EQ(header[1], 3);
    EXPECT_EQ(std::memcmp(block + 8, bytes, 3), 0);
    MemFree(block);
}

} // namespace
} // namespace kelvarn::testing
