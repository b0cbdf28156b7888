#include "commands/core/MessageText.h"
#include "tests/commands/core/CommandFixture.h"

using namespace kelvarn::commands;
using namespace kelvarn::testing;

TEST(MessageText, NumbersByTypeTag) {
    EXPECT_EQ(messageText(makeInteger(-7)), "-7");
    EXPECT_EQ(messageText(makeByte(250)), "250");
    EXPECT_EQ(messageText(makeShort(-2)), "-2");
    EXPECT_EQ(messageText(makeLong(-9000000000LL)), "-9000000000");
    EXPECT_EQ(messageText(makeDouble(0.1)), "0.1");
    EXPECT_EQ(messageText(makeDouble(1.0 / 3.0)), "0.3333333333333");
    EXPECT_EQ(messageText(makeText("hello")), "hello");
    EXPECT_EQ(messageText(ArgRecord{1, 2, 0x00010005}), "");
}

TEST(MessageText, SinglesAreRoundedToSixDigitsFirst) {
    EXPECT_EQ(messageText(makeSingle(0.1f)), "0.1");
    EXPECT_EQ(messageText(makeSingle(1234567.0f)), "1.23457e+06");
    EXPECT_EQ(messageText(makeSingle(2.5f)), "2.5");
    EXPECT_EQ(messageText(makeSingle(-0.0000123456789f)), "-1.23457e-05");
    EXPECT_EQ(messageText(makeSingle(0.0f)), "0");
}

TEST(MessageText, Logicals) {
    EXPECT_EQ(messageText(makeLogical(true)), gb("真"));
    EXPECT_EQ(messageText(makeLogical(false)), gb("假"));
    EXPECT_EQ(messageText(ArgRecord{7, 0, kTagLogical}), gb("真"));
}

TEST(MessageText, DateTimesShowOnlyTheTimePartsThatAreSet) {
    // 45000 is 2023-03-15.
    EXPECT_EQ(messageText(makeDateTime(45000.0)), gb("2023年3月15日"));
    EXPECT_EQ(messageText(makeDateTime(45000.5)), gb("2023年3月15日12时"));
    EXPECT_EQ(messageText(makeDateTime(45000.0 + (13 * 60 + 5) / 1440.0)),
              gb("2023年3月15日13时5分"));
    EXPECT_EQ(messageText(makeDateTime(45000.0 + 7.0 / 86400.0)), gb("2023年3月15日0时0分7秒"));
    EXPECT_EQ(messageText(makeDateTime(0.0)), gb("1899年12月30日"));
    // Before 1899 the fraction still counts forward within the day.
    EXPECT_EQ(messageText(makeDateTime(-1.25)), gb("1899年12月29日6时"));
}

TEST(MessageText, DateTimesAreClampedToYears100To9999) {
    EXPECT_EQ(messageText(makeDateTime(-1e9)), gb("100年1月1日"));
    EXPECT_EQ(messageText(makeDateTime(1e12)), gb("9999年12月31日"));
}
