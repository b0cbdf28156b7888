// Runs the corners program (CornersProgram.cpp) once as a child process, from a copy in a fresh
// folder that also holds its help file, and reads what its driver and procedures logged.

#include "platform/sound/testing/SoundFiles.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace kelvarn::testing {
namespace {

namespace fs = std::filesystem;

struct Run {
    int exitCode = -1000;
    std::vector<std::string> log;
    std::string grab;
    double seconds = 0;
    std::vector<std::int16_t> sound; // what the window's background sound played
};

const Run& run() {
    static const Run result = [] {
        static TempFolder root;
        const fs::path program = fs::path(root.path()) / "corners";
        fs::copy_file(KELVARN_CORNERS_PROGRAM, program);
        fs::create_directory(fs::path(root.path()) / "help");
        std::ofstream(fs::path(root.path()) / "help" / "角落.hlp") << "help";
        const std::string log = root / "log", grab = root / "grab.png", sound = root / "sound.raw";
        const std::string command =
            "cd '" + root.path() + "' && QT_QPA_PLATFORM=offscreen KELVARN_TEST_LOG='" + log +
            "' KELVARN_TEST_GRAB='" + grab + "' SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE='" + sound +
            "' timeout 120 '" + program.string() + "' 2>/dev/null";
        Run r;
        const auto started = std::chrono::steady_clock::now();
        const int status = std::system(command.c_str());
        r.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        if (WIFEXITED(status))
            r.exitCode = WEXITSTATUS(status);
        std::ifstream in(log);
        for (std::string line; std::getline(in, line);)
            r.log.push_back(line);
        std::ifstream png(grab, std::ios::binary);
        r.grab.assign(std::istreambuf_iterator<char>(png), {});
        r.sound = platform::testing::writtenSamples(sound);
        return r;
    }();
    return result;
}

// The logged lines from the first that starts with `from` up to the first after it that starts
// with `to`.
std::vector<std::string> section(const std::string& from, const std::string& to) {
    const std::vector<std::string>& log = run().log;
    auto starts = [](const std::string& prefix) {
        return [prefix](const std::string& line) { return line.rfind(prefix, 0) == 0; };
    };
    const auto begin = std::find_if(log.begin(), log.end(), starts(from));
    return {begin, std::find_if(begin == log.end() ? begin : begin + 1, log.end(), starts(to))};
}

// What the driver and the procedures log when the driver chooses `item` by mouse, mnemonic and
// shortcut. A command that cannot be chosen (disabled, or hidden and so not in the sub-menu)
// leaves its sub-menu open and runs nothing.
std::vector<std::string> chosen(const std::string& item, bool runs, bool inSubMenu,
                                const std::string& after = {}) {
    std::vector<std::string> lines;
    for (const char* way : {"mouse ", "mnemonic ", "shortcut "}) {
        lines.push_back(way + item);
        if (inSubMenu && way == std::string("mnemonic "))
            lines.push_back("sub-menu open");
        if (runs) {
            lines.push_back("ran " + item);
            if (!after.empty())
                lines.push_back(after);
        } else if (way != std::string("shortcut ")) {
            lines.push_back("menu stayed open");
        }
    }
    return lines;
}

std::vector<std::string> joined(const std::vector<std::vector<std::string>>& parts) {
    std::vector<std::string> out;
    for (const auto& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

TEST(CornersProgramTest, ChoosingAMenuItemByMouseMnemonicOrShortcutRunsItsProcedureOnce) {
    ASSERT_EQ(run().exitCode, 0);
    const std::string marked = "read &Load checked=0 disabled=0 visible=1";
    EXPECT_EQ(section("mouse open", "bar"),
              joined({chosen("open", true, true), chosen("recent", true, true),
                      chosen("print", false, true),  // disabled
                      chosen("secret", false, true), // hidden
                      chosen("mark", true, false, marked)}));

    // Mark renamed Open to Load (mnemonic L), enabled Print and showed Secret.
    const auto expected = joined(
        {chosen("open", true, true), chosen("print", true, true), chosen("secret", true, true)});
    std::vector<std::string> afterMark = section("bar | 0:&File> | 1:&Load", "sound ");
    ASSERT_FALSE(afterMark.empty());
    afterMark.erase(afterMark.begin());
    EXPECT_EQ(afterMark, expected);
}

TEST(CornersProgramTest, ChoosingACheckedItemRunsItAndKeepsItsMark) {
    EXPECT_EQ(
        section("once recent", "mouse open"),
        (std::vector<std::string>{"once recent", "ran recent", "recent shown checked property 1"}));
}

TEST(CornersProgramTest, CaptionAndFlagWritesOfAProcedureShowInTheBar) {
    std::vector<std::string> bars;
    for (const std::string& line : run().log)
        if (line.rfind("bar", 0) == 0)
            bars.push_back(line);
    EXPECT_EQ(bars, (std::vector<std::string>{
                        "bar | 0:&File> | 1:&Open Ctrl+O | 1:&Recent Ctrl+R[x] | 1: | "
                        "1:&Print Ctrl+P[off] | 0:&Mark | 0:&Tools",
                        "bar | 0:&File> | 1:&Load Ctrl+O | 1:&Recent Ctrl+R | 1: | "
                        "1:&Print Ctrl+P | 1:&Secret Ctrl+Shift+S | 0:&Mark | 0:&Tools",
                    }));
}

TEST(CornersProgramTest, TheBackgroundSoundLoopsAndRestartsOnEveryWriteAndEndsWithTheProgram) {
    EXPECT_EQ(section("sound ", "shared mnemonic"),
              (std::vector<std::string>{"sound playing", "mode 2 silent", "mode 1 playing",
                                        "no sound silent", "second sound playing",
                                        "second sound once: silent"}));
    // The 1 kHz loop came round at least twice before the 2 kHz sound, which played once.
    using platform::testing::toneRuns;
    const auto first = toneRuns(run().sound, 1000);
    const auto second = toneRuns(run().sound, 2000);
    ASSERT_GE(first.size(), 3u);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_GT(second[0].startMs, first.back().startMs);
    EXPECT_NEAR(second[0].lengthMs, 100, 20);
    // The process ended on its own once its window closed (the whole session, sound included,
    // takes a few seconds; a hang would run into the two-minute limit).
    EXPECT_EQ(run().exitCode, 0);
    EXPECT_LT(run().seconds, 60);
}

TEST(CornersProgramTest, EveryKeyTakesTheRuntimesWayThroughQtsShortcutMap) {
    // Keys 18 Alt, 17 Ctrl, 77 M, 70 F; state 4 Alt, 1 Ctrl (a modifier counts as held from its
    // own press). The unit's T comes before the bar's; a refused key-down keeps the bar's
    // mnemonic from acting, but a shortcut is used before the event is raised; in a busy period
    // no key or click reaches the bar or the shortcuts.
    EXPECT_EQ(
        section("shared mnemonic T", "window "),
        (std::vector<std::string>{"shared mnemonic T", "ran tune",                 //
                                  "refused M", "key down 18 4", "key down 77 4",   //
                                  "refused F", "key down 18 4", "key down 70 4",   //
                                  "refused shortcut", "key down 17 1", "ran open", //
                                  "busy", "busy menu closed", "busy click closed", "busy over"}));
}

TEST(CornersProgramTest, PicturesOfTheWindowLabelButtonAndRadioBoxAreDrawn) {
    // Colours 0xBBGGRR. The window's 2 x 2 BMP is tiled from the client area's corner: red,
    // green / blue, yellow at (0,0), (1,0), (0,1), (3,3), and red again at (100,150). The
    // label's blue 4 x 4 PNG is centred on its white background. The button's BMP and the radio
    // box's icon are 8 pixels wide; the pictured button still runs its click procedure.
    EXPECT_EQ(section("window ", "help"), (std::vector<std::string>{
                                              "window 0000ff 00ff00 ff0000 00ffff 0000ff",
                                              "label ffffff ff0000",
                                              "button picture pixels in the middle row 8",
                                              "radio picture pixels in the middle row 8",
                                              "ran button",
                                          }));
    ASSERT_GT(run().grab.size(), 8u);
    EXPECT_EQ(run().grab.substr(1, 3), "PNG");
}

TEST(CornersProgramTest, F1OpensTheHelpFileAndTheUserCannotMoveTheWindow) {
    EXPECT_EQ(section("help", "loop ended"),
              (std::vector<std::string>{
                  "help",
                  // F1 on the window and on the focused button, the name's "\" made "/".
                  "desktop opened help/角落.hlp",
                  "desktop opened help/角落.hlp",
                  "movable 0 moved by 0,0",
                  "grab ok",
              }));
    EXPECT_EQ(run().log.back(), "loop ended");
}

} // namespace
} // namespace kelvarn::testing
