// The converter end to end: the program (DrivenProgram.cpp, the same image as build/kelvarn) runs
// as a child process offscreen through the real process start, from a copy in a fresh folder so
// that its "BMP" and "PNG" folders land there; a script clicks, types and answers the real
// dialogs, and the test looks at what the program logged, wrote and left behind.

#include "tests/app/DrivenProgramTest.h"
#include "tests/app/TestPictures.h"
#include "tests/support/FileBytes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace kelvarn::testing {
namespace {

namespace fs = std::filesystem;
using kelvarn::testing::decode;
using kelvarn::testing::listItems;
using kelvarn::testing::namesIn;
using kelvarn::testing::pattern;
using kelvarn::testing::Picture;
using kelvarn::testing::ProgramRun;
using kelvarn::testing::writeBmp;
using kelvarn::testing::writePng;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

void writeText(const fs::path& path, const std::string& text) {
    kelvarn::testing::writeFile(path, kelvarn::testing::Bytes(text.begin(), text.end()));
}

class ConverterProgramTest : public kelvarn::testing::DrivenProgramTest {
protected:
    // Runs the program with one script command a line; every scripted answer must have been
    // used and the window closed. `environment` goes before the program, as "NAME=value ...".
    ProgramRun run(const std::vector<std::string>& script, const std::string& environment = {}) {
        ProgramRun result = runProgram(script, environment, 120);
        EXPECT_THAT(result.lines("unused answers"), IsEmpty());
        EXPECT_THAT(result.lines("script ended with the window open"), IsEmpty());
        return result;
    }
};

TEST_F(ConverterProgramTest, ListsTheChosenFoldersFilesOfTheCurrentTypeAndKeepsTheListOnCancel) {
    const fs::path pics = folder("pics");
    writePng(pics / "a.png", pattern(3, 2, 1));
    writePng(pics / "B.PNG", pattern(3, 2, 2));
    writeBmp(pics / "c.bmp", pattern(3, 2, 3));
    writeText(pics / "notes.txt", "not a picture");
    fs::create_directories(pics / "folder.png"); // a folder never appears in the list
    const fs::path bmps = folder("bmps");
    writeBmp(bmps / "x.BMP", pattern(2, 2, 4));
    writeBmp(bmps / "y.bmp", pattern(2, 2, 5));
    writePng(bmps / "z.png", pattern(2, 2, 6));

    ProgramRun r = run({"state", "folder " + pics.string(), "click choose", "state", "click bmp",
                        "state", "folder " + bmps.string(), "click choose", "state", "cancel",
                        "click choose", "state", "close"});
    EXPECT_EQ(r.exitCode, 0);
    const auto edits = r.lines("edit ");
    const auto lists = r.lines("list ");
    const auto checks = r.lines("checked ");
    ASSERT_EQ(edits.size(), 5u);
    ASSERT_EQ(lists.size(), 5u);
    ASSERT_EQ(checks.size(), 5u);

    // At start: "PNG" checked, nothing listed.
    EXPECT_EQ(edits[0], "edit ");
    EXPECT_EQ(lists[0], "list ");
    EXPECT_EQ(checks[0], "checked png=1 bmp=0");
    EXPECT_THAT(r.lines("dialog "),
                ElementsAre("dialog 请选择文件夹", "dialog 请选择文件夹", "dialog 请选择文件夹"));
    // The folder appears in the edit box and its PNG files, whatever the case, in the list.
    EXPECT_EQ(edits[1], "edit " + pics.string());
    EXPECT_THAT(listItems(lists[1]), UnorderedElementsAre("a.png", "B.PNG"));
    // "BMP" leaves the list alone; the next choice lists BMP files.
    EXPECT_EQ(checks[2], "checked png=0 bmp=1");
    EXPECT_EQ(lists[2], lists[1]);
    EXPECT_EQ(edits[3], "edit " + bmps.string());
    EXPECT_THAT(listItems(lists[3]), UnorderedElementsAre("x.BMP", "y.bmp"));
    // A cancelled dialog empties the edit box and keeps the list.
    EXPECT_EQ(edits[4], "edit ");
    EXPECT_EQ(lists[4], lists[3]);
    // Nothing was converted, nowhere.
    EXPECT_THAT(namesIn(programDir()), ElementsAre("kelvarn"));
}

TEST_F(ConverterProgramTest, ToBmpWritesIntoTheBmpFolderBesideTheProgramAndSaysSo) {
    const fs::path pics = folder("pics");
    const Picture b = pattern(5, 3, 7);
    writePng(pics / "b.png", b);

    ProgramRun r =
        run({"folder " + pics.string(), "click choose", "box", "click tobmp", "state", "close"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_THAT(r.lines("box "), ElementsAre("box 图片转BMP成功|信息：|8192"))
        << "flags 0, shown task-modal with the default caption";
    EXPECT_THAT(r.lines("selected "), ElementsAre("selected 0"));
    EXPECT_THAT(namesIn(programDir() / "BMP"), ElementsAre("b.BMP"));
    EXPECT_THAT(namesIn(pics), ElementsAre("b.png")) << "nothing is written beside the source";
    EXPECT_EQ(decode(programDir() / "BMP" / "b.BMP"), b);
}

TEST_F(ConverterProgramTest, ToPngFromTheBmpListWritesPngFilesAndSaysSo) {
    const fs::path pics = folder("pics");
    const Picture a = pattern(7, 5, 8);
    const Picture d = pattern(1, 1, 9);
    writeBmp(pics / "a.bmp", a);
    writeBmp(pics / "d.BMP", d);

    ProgramRun r = run(
        {"click bmp", "folder " + pics.string(), "click choose", "box", "click topng", "close"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_THAT(r.lines("box "), ElementsAre("box 图片转PNG成功|信息：|8192"));
    EXPECT_THAT(namesIn(programDir() / "PNG"), ElementsAre("a.PNG", "d.PNG"));
    EXPECT_THAT(namesIn(pics), ElementsAre("a.bmp", "d.BMP"));
    EXPECT_EQ(decode(programDir() / "PNG" / "a.PNG"), a);
    EXPECT_EQ(decode(programDir() / "PNG" / "d.PNG"), d);
}

TEST_F(ConverterProgramTest, AnUnreadableFileIsNamedInAWarningWhileTheOthersConvert) {
    const fs::path pics = folder("pics");
    const Picture one = pattern(4, 4, 10);
    const Picture two = pattern(3, 5, 11);
    writePng(pics / "one.png", one);
    writeText(pics / "bad.png", "this is not a picture at all");
    writePng(pics / "two.png", two);

    ProgramRun r = run({"folder " + pics.string(), "click choose", "box", "click tobmp", "close"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_THAT(
        r.lines("box "),
        ElementsAre("box 图片转BMP完成，失败 1 个：\\r\\nbad.png（格式不支持或文件已损坏）|信息："
                    "|8240"))
        << "a warning box (0x30), shown task-modal";
    EXPECT_THAT(namesIn(programDir() / "BMP"), ElementsAre("one.BMP", "two.BMP"));
    EXPECT_EQ(decode(programDir() / "BMP" / "one.BMP"), one);
    EXPECT_EQ(decode(programDir() / "BMP" / "two.BMP"), two);
}

TEST_F(ConverterProgramTest, AnEmptyListSaysThereIsNothingAndMoreThanTwentyFailuresAreCut) {
    const fs::path pics = folder("pics");
    for (int i = 0; i < 22; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "f%02d.png", i);
        writeText(pics / name, "broken");
    }

    ProgramRun r = run({"box", "click topng", "folder " + pics.string(), "click choose", "box",
                        "click tobmp", "close"});
    EXPECT_EQ(r.exitCode, 0);
    const auto boxes = r.lines("box ");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0], "box 列表中没有要转换的文件|信息：|8256") << "an information box";
    EXPECT_THAT(boxes[1], HasSubstr("box 图片转BMP完成，失败 22 个：\\r\\n"));
    size_t named = 0;
    for (size_t at = 0; (at = boxes[1].find("（格式不支持或文件已损坏）", at)) != std::string::npos;
         ++at)
        ++named;
    EXPECT_EQ(named, 20u);
    EXPECT_THAT(boxes[1], HasSubstr("（格式不支持或文件已损坏）\\r\\n……|信息：|8240"));
    EXPECT_THAT(namesIn(programDir() / "BMP"), IsEmpty()) << "no partial target is left";
}

TEST_F(ConverterProgramTest, ChineseNamesAndNamesBeyondGbkConvert) {
    const fs::path pics = folder("图片 文件夹");
    const Picture scenery = pattern(6, 4, 12);
    const Picture shallow = pattern(2, 3, 13);
    const Picture hangul = pattern(3, 3, 14);
    writePng(pics / "风景.png", scenery);
    writePng(pics / "淺.png", shallow); // its second GBK byte is the backslash byte 0x5C
    writePng(pics / "한글😀.png", hangul);

    ProgramRun r =
        run({"folder " + pics.string(), "click choose", "state", "box", "click tobmp", "close"});
    EXPECT_EQ(r.exitCode, 0);
    ASSERT_EQ(r.lines("list ").size(), 1u);
    EXPECT_THAT(listItems(r.lines("list ")[0]),
                UnorderedElementsAre("风景.png", "淺.png", "한글😀.png"));
    EXPECT_THAT(r.lines("edit "), ElementsAre("edit " + pics.string()));
    EXPECT_THAT(r.lines("box "), ElementsAre("box 图片转BMP成功|信息：|8192"));
    EXPECT_THAT(namesIn(programDir() / "BMP"),
                UnorderedElementsAre("风景.BMP", "淺.BMP", "한글😀.BMP"));
    EXPECT_EQ(decode(programDir() / "BMP" / "风景.BMP"), scenery);
    EXPECT_EQ(decode(programDir() / "BMP" / "淺.BMP"), shallow);
    EXPECT_EQ(decode(programDir() / "BMP" / "한글😀.BMP"), hangul);
}

TEST_F(ConverterProgramTest, EscapeClosesTheWindowAndEndsTheProgramNormally) {
    ProgramRun r = run({"focus", "key escape"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_THAT(r.lines("focus "), ElementsAre("focus list"));
}

TEST_F(ConverterProgramTest, TabFollowsTheKeyboardOrderAndAnArrowMovesTheRadioCheck) {
    const fs::path bmps = folder("bmps");
    writeBmp(bmps / "only.bmp", pattern(2, 2, 15));
    writePng(bmps / "other.png", pattern(2, 2, 16));

    ProgramRun r = run({"focus", "key tab", "focus", "key tab", "focus", "key tab", "focus",
                        "key tab", "focus", "key tab", "focus", "key tab", "focus",
                        // Back on the list: four tabs reach "PNG"; the arrow moves to "BMP".
                        "key tab", "key tab", "key tab", "key tab", "focus", "key right", "focus",
                        "state", "folder " + bmps.string(), "click choose", "state", "close"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_THAT(r.lines("focus "),
                ElementsAre("focus list", "focus tobmp", "focus topng", "focus choose", "focus png",
                            "focus bmp", "focus list", "focus png", "focus bmp"));
    const auto checks = r.lines("checked ");
    ASSERT_EQ(checks.size(), 2u);
    EXPECT_EQ(checks[0], "checked png=0 bmp=1");
    // The arrow ran the radio box's click procedure: the next folder lists BMP files.
    const auto lists = r.lines("list ");
    ASSERT_EQ(lists.size(), 2u);
    EXPECT_THAT(listItems(lists[1]), ElementsAre("only.bmp"));
}

} // namespace

namespace {

std::string bytesOf(const fs::path& path) {
    const kelvarn::testing::Bytes bytes = kelvarn::testing::readFile(path);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

// The batch on two workers against one: the same files byte for byte, the same message with the
// failures named in list order, the same selection; of two items that write the same file the
// later one in the list wins, as in a one-at-a-time run.
TEST_F(ConverterProgramTest, ABatchOnTwoWorkersEndsExactlyAsOneAtATime) {
    const fs::path pics = folder("pics");
    std::vector<std::string> pictures;
    for (int i = 0; i < 9; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "p%d.bmp", i);
        // Sizes vary so that conversions finish out of order.
        writeBmp(pics / name, pattern(40 + 97 * ((i * 5) % 9), 30 + 61 * (i % 4), i));
    }
    writeText(pics / "bad1.bmp", "broken");
    writeText(pics / "bad2.BMP", "also broken");
    const Picture lower = pattern(301, 203, 40);
    const Picture upper = pattern(7, 3, 41);
    writeBmp(pics / "dup.bmp", lower);
    writeBmp(pics / "dup.BMP", upper);

    const std::vector<std::string> script = {"click bmp",    "folder " + pics.string(),
                                             "click choose", "state",
                                             "box",          "click topng",
                                             "state",        "close"};
    struct Outcome {
        std::vector<std::string> boxes;
        std::vector<std::string> selected;
        std::vector<std::string> lists;
        std::vector<std::pair<std::string, std::string>> files;
    };
    auto runWith = [&](const char* workers) {
        fs::remove_all(programDir() / "PNG");
        ProgramRun r = run(script, std::string("KELVARN_BATCH_WORKERS=") + workers);
        EXPECT_EQ(r.exitCode, 0);
        Outcome o{r.lines("box "), r.lines("selected "), r.lines("list "), {}};
        for (const std::string& name : namesIn(programDir() / "PNG"))
            o.files.emplace_back(name, bytesOf(programDir() / "PNG" / name));
        return o;
    };
    const Outcome one = runWith("1");
    const Outcome two = runWith("2");

    ASSERT_EQ(one.lists.size(), 2u);
    const std::vector<std::string> items = listItems(one.lists[0]);
    ASSERT_EQ(items.size(), 13u);
    EXPECT_EQ(two.lists, one.lists);
    EXPECT_EQ(two.selected, one.selected);
    EXPECT_EQ(two.boxes, one.boxes);
    EXPECT_EQ(two.files, one.files);
    ASSERT_EQ(one.files.size(), 10u) << "nine pictures and one dup.PNG";

    // The failures appear in the message in the order of the list.
    const auto bad1 = std::find(items.begin(), items.end(), "bad1.bmp") - items.begin();
    const auto bad2 = std::find(items.begin(), items.end(), "bad2.BMP") - items.begin();
    const std::string first = bad1 < bad2 ? "bad1.bmp" : "bad2.BMP";
    const std::string second = bad1 < bad2 ? "bad2.BMP" : "bad1.bmp";
    ASSERT_EQ(two.boxes.size(), 1u);
    EXPECT_THAT(two.boxes[0], HasSubstr("\\r\\n" + first + "（格式不支持或文件已损坏）\\r\\n" +
                                        second + "（格式不支持或文件已损坏）|"));
    // The later of the two items that map to dup.PNG is the one in the file.
    const auto lowerAt = std::find(items.begin(), items.end(), "dup.bmp") - items.begin();
    const auto upperAt = std::find(items.begin(), items.end(), "dup.BMP") - items.begin();
    EXPECT_EQ(decode(programDir() / "PNG" / "dup.PNG"), lowerAt > upperAt ? lower : upper);
}

// With KELVARN_FIRST_PAINT_FILE set, the moment of the window's first paint is written there
// once, as seconds since the epoch, between the program's start and its end.
TEST_F(ConverterProgramTest, TheFirstPaintIsStampedOnceWhenAsked) {
    const fs::path stamp = root() / "first-paint.txt";
    auto now = [] {
        return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    };
    const double before = now();
    ProgramRun r = run({"state", "click bmp", "state", "close"},
                       "KELVARN_FIRST_PAINT_FILE='" + stamp.string() + "'");
    const double after = now();
    EXPECT_EQ(r.exitCode, 0);
    std::ifstream in(stamp);
    std::vector<double> stamps;
    for (double value = 0; in >> value;)
        stamps.push_back(value);
    ASSERT_EQ(stamps.size(), 1u) << "one stamp, however often the window repaints";
    EXPECT_GE(stamps[0], before);
    EXPECT_LE(stamps[0], after);

    // Without the variable nothing is written.
    fs::remove(stamp);
    EXPECT_EQ(run({"close"}).exitCode, 0);
    EXPECT_FALSE(fs::exists(stamp));
}

} // namespace kelvarn::testing
