#include "commands/core/TextCommands.h"
#include "commands/core/SystemCommands.h"
#include "tests/commands/core/CommandFixture.h"
#include "tests/support/TempFolder.h"

#include <unistd.h>

using namespace kelvarn::commands;
using namespace kelvarn::commands::test;
using kelvarn::testing::TempFolder;

using TextCommands = CommandTest;

TEST_F(TextCommands, LengthCountsBytes) {
    std::string title = gb("图片转");
    EXPECT_EQ(call(&TextLength, {makeText(title.c_str())}).integer(), 6);
    EXPECT_EQ(call(&TextLength, {makeText("")}).integer(), 0);
}

TEST_F(TextCommands, LeftCutsByBytesEvenInsideACharacter) {
    std::string pictures = gb("图片");
    EXPECT_EQ(callText(&LeftText, {makeText(pictures.c_str()), makeInteger(3)}),
              pictures.substr(0, 3));
    EXPECT_EQ(callText(&LeftText, {makeText("photo.bmp"), makeInteger(6)}), "photo.");
    EXPECT_EQ(callText(&LeftText, {makeText("abc"), makeInteger(99)}), "abc");
    bool wasNull = false;
    EXPECT_EQ(callText(&LeftText, {makeText("abc"), makeInteger(0)}, &wasNull), "");
    EXPECT_TRUE(wasNull);
    EXPECT_EQ(callText(&LeftText, {makeText("abc"), makeInteger(-5)}, &wasNull), "");
    EXPECT_TRUE(wasNull);
    EXPECT_EQ(callText(&LeftText, {makeText(""), makeInteger(3)}, &wasNull), "");
    EXPECT_TRUE(wasNull);
}

TEST_F(TextCommands, RightTakesTheLastBytes) {
    EXPECT_EQ(callText(&RightText, {makeText("photo.BMP"), makeInteger(4)}), ".BMP");
    EXPECT_EQ(callText(&RightText, {makeText("a.BMP"), makeInteger(40)}), "a.BMP");
    EXPECT_EQ(callText(&RightText, {makeText("D:\\pics\\"), makeInteger(1)}), "\\");
    bool wasNull = false;
    EXPECT_EQ(callText(&RightText, {makeText("abc"), makeInteger(-1)}, &wasNull), "");
    EXPECT_TRUE(wasNull);
}

TEST_F(TextCommands, ResultsAreNewBlocksNeverTheArgument) {
    char source[] = "keep";
    ArgRecord r = call(&LeftText, {makeText(source), makeInteger(4)});
    ASSERT_NE(r.address(), nullptr);
    EXPECT_NE(r.address(), static_cast<void*>(source));
    MemFree(r.address());
}

using SystemCommandsTest = CommandTest;

TEST_F(SystemCommandsTest, ProgramDirectoryHasNoTrailingSeparator) {
    runtimeApp().setProgramPath("/opt/kelvarn/bin/kelvarn");
    registerRuntimeService(kServiceProgramDirectory, [](int32_t, intptr_t, intptr_t) {
        return reinterpret_cast<intptr_t>(runtimeApp().programDirectory().c_str());
    });
    EXPECT_EQ(callText(&ProgramDirectory, {}), "/opt/kelvarn/bin");
    // A trail byte 0x5C inside a double-byte character is not a separator.
    runtimeApp().setProgramPath("/opt/\x81\x5c"
                                "dir/kelvarn");
    EXPECT_EQ(callText(&ProgramDirectory, {}), "/opt/\x81\x5c"
                                               "dir");
    runtimeApp().setProgramPath("/opt/x\x81\x5c"
                                "kelvarn");
    EXPECT_EQ(callText(&ProgramDirectory, {}), "/opt");
    registerRuntimeService(kServiceProgramDirectory, nullptr);
}

TEST_F(SystemCommandsTest, MakeDirectoryCreatesOneLevelOnly) {
    TempFolder dir;
    std::string png = dir.path() + "\\PNG\\";
    EXPECT_NE(call(&MakeDirectory, {makeText(png.c_str())}).integer(), 0);
    EXPECT_EQ(access((dir / "PNG").c_str(), F_OK), 0);
    EXPECT_EQ(call(&MakeDirectory, {makeText(png.c_str())}).integer(), 0);
    std::string deep = dir / "a/b";
    EXPECT_EQ(call(&MakeDirectory, {makeText(deep.c_str())}).integer(), 0);
}

// The core library's notify function: start-up and shutdown, and the codes of its own object
// types, are handled; anything else is not.
TEST(CoreLibrary, NotifyAnswersItsOwnCodesAndRefusesTheRest) {
    for (int32_t code : {2, 10, 11, 12, 13, 6})
        EXPECT_EQ(CoreLibraryNotify(code, 0, 0), 0) << code;
    for (int32_t code : {0, 3, 4, 5, 7, 9, 14})
        EXPECT_EQ(CoreLibraryNotify(code, 0, 0), -1) << code;
}
