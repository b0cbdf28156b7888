#include "platform/files/Codepage.h"
#include "platform/files/Path.h"

#include <gtest/gtest.h>

using namespace kelvarn::platform;

TEST(Codepage, ChineseTextIsGbkBytes) {
    EXPECT_EQ(utf8ToGb("图片转BMP成功"), "\xcd\xbc\xc6\xac\xd7\xaa"
                                         "BMP\xb3\xc9\xb9\xa6");
    EXPECT_EQ(gbToUtf8("\xcd\xbc\xc6\xac\xd7\xaa"), "图片转");
    EXPECT_EQ(utf8ToGb("plain ascii"), "plain ascii");
}

TEST(Codepage, CharactersGbkCannotHoldRoundTripThroughGb18030) {
    const std::string names[] = {"€", "𠀀", "한글", "😀 photo.png", "ä ß ø"};
    for (const auto& name : names) {
        std::string gb = utf8ToGb(name);
        EXPECT_EQ(gbToUtf8(gb), name) << name;
    }
    EXPECT_EQ(utf8ToGb("€"), "\xa2\xe3");
    EXPECT_EQ(utf8ToGb("😀"), "\x94\x39\xfc\x36");
}

TEST(Codepage, BytesThatAreNotUtf8SurviveTheRoundTrip) {
    const std::string raw[] = {"\xff",         "name\xfe\xff.png",
                               "\xc3(",        "\xed\xa0\x80 surrogate",
                               "\xe6\x97 cut", "\xf5\x80\x80\x80"};
    for (const auto& bytes : raw) {
        std::string gb = utf8ToGb(bytes);
        EXPECT_EQ(gbToUtf8(gb), bytes);
        // The escapes are four-byte GB18030 forms: the runtime text has no zero byte and no
        // stray backslash that could be taken for a separator.
        EXPECT_EQ(gb.find('\0'), std::string::npos);
        EXPECT_EQ(gb.find('\\'), std::string::npos);
    }
}

TEST(Codepage, MalformedGbBytesAreKeptRaw) {
    // A text cut in the middle of a double-byte character keeps its lone lead byte.
    EXPECT_EQ(gbToUtf8("ab\xcd"), "ab\xcd");
    EXPECT_EQ(gbToUtf8("\x80x\xff"), "\x80x\xff");
}

TEST(Path, BothSeparatorsBecomeNative) {
    EXPECT_EQ(toNativePath("D:\\pics/sub\\a.png"), "D:/pics/sub/a.png");
    EXPECT_EQ(toNativePath("/tmp\\\\x"), "/tmp//x");
}

TEST(Path, GbkTrailByte5CIsNotASeparator) {
    // "乗" is 0x81 0x5C in GBK: its trail byte is the backslash code.
    std::string runtime = std::string("/tmp\\") + "\x81\x5c" + "\\a.png";
    EXPECT_EQ(toNativePath(runtime), "/tmp/乗/a.png");
    EXPECT_EQ(fromNativePath("/tmp/乗/a.png"), "/tmp/\x81\x5c/a.png");
}
