// The converter window while a batch runs: it stays alive (paints, timers and window-system
// events are handled, the busy pointer shows, the selection walks down the list), input is
// dropped rather than replayed, and a close request ends the batch at a file boundary. The real
// program runs offscreen as a child process, driven by a script (DrivenProgram.cpp); its
// "during K" commands act from a timer once the batch has selected item K, so they run only if
// the program handles window-system events while it converts.

#include "tests/app/DrivenProgramTest.h"
#include "tests/app/TestPictures.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
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
using ::testing::Contains;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

constexpr int kFiles = 12;

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class ConverterBatchTest : public kelvarn::testing::DrivenProgramTest {
protected:
    // kFiles BMPs large enough that their conversion to PNG takes a while (tenths of a second
    // each), so that the "during" commands act while workers convert.
    void SetUp() override {
        DrivenProgramTest::SetUp();
        m_pics = folder("pics");
        for (int i = 0; i < kFiles; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "p%02d.bmp", i);
            m_sources.push_back(pattern(1001, 751, i));
            writeBmp(m_pics / name, m_sources.back());
        }
    }

    // Lists the pictures, then runs the script's batch to PNG on two workers.
    ProgramRun runBatch(const std::vector<std::string>& duringAndAfter) {
        std::vector<std::string> script = {"click bmp", "folder " + m_pics.string(), "click choose",
                                           "state", "box"};
        script.insert(script.end(), duringAndAfter.begin(), duringAndAfter.end());
        ProgramRun r = runProgram(script, "KELVARN_BATCH_WORKERS=2", 90);
        EXPECT_EQ(r.exitCode, 0) << r.output;
        EXPECT_THAT(r.lines("unused answers"), IsEmpty());
        EXPECT_THAT(r.lines("script ended with the window open"), IsEmpty());
        // Every "during" command ran inside the batch, under the busy pointer.
        EXPECT_THAT(r.lines("during "), Each(HasSubstr("busy=1 pointer=1")));
        return r;
    }

    const Picture& source(const std::string& target) const {
        return m_sources[static_cast<size_t>(std::stoi(target.substr(1, 2)))];
    }

    fs::path m_pics;
    std::vector<Picture> m_sources;
};

TEST_F(ConverterBatchTest, TheSelectionWalksDuringTheBatchAndInputIsDroppedNotReplayed) {
    const fs::path early = root() / "early.png";
    const fs::path late = root() / "late.png";
    const ProgramRun r = runBatch({"during 2 grab " + early.string(), "during 2 state",
                                   // Each would change something visible if it got through now
                                   // or afterwards: a second batch, the other radio box, the
                                   // window closed by Esc.
                                   "during 4 click topng", "during 4 click png",
                                   "during 4 key escape", "during 9 grab " + late.string(),
                                   "during 9 state", "click topng", "state", "close"});
    ASSERT_EQ(r.lines("during ").size(), 7u);
    EXPECT_THAT(r.lines("grab "), ElementsAre("grab ok", "grab ok"));
    EXPECT_NE(readBytes(early), readBytes(late)) << "the window looks the same at items 2 and 9";

    const auto selected = r.lines("selected ");
    ASSERT_EQ(selected.size(), 4u);
    const int atEarly = std::stoi(selected[1].substr(9));
    const int atLate = std::stoi(selected[2].substr(9));
    EXPECT_GE(atEarly, 2);
    EXPECT_LT(atEarly, atLate);
    EXPECT_EQ(selected[3], "selected " + std::to_string(kFiles - 1));

    EXPECT_THAT(r.lines("box "), ElementsAre("box 图片转PNG成功|信息：|8192"));
    EXPECT_THAT(r.lines("checked "), Each("checked png=0 bmp=1"));
    EXPECT_EQ(namesIn(programDir() / "PNG").size(), static_cast<size_t>(kFiles));
}

TEST_F(ConverterBatchTest, ACloseRequestEndsTheBatchAtAFileBoundaryAndThenTheWindow) {
    // No "close" at the end: the window must close by itself once the message is answered.
    const ProgramRun r = runBatch({"during 3 close", "click topng"});
    ASSERT_EQ(r.lines("during ").size(), 1u);

    const auto lists = r.lines("list ");
    ASSERT_EQ(lists.size(), 1u);
    const std::vector<std::string> items = listItems(lists[0]);
    ASSERT_EQ(items.size(), static_cast<size_t>(kFiles));

    // The converted files are the first ones of the list, each complete; the rest are named as
    // cancelled, in list order, and have no target of any kind.
    const std::vector<std::string> converted = namesIn(programDir() / "PNG");
    ASSERT_GE(converted.size(), 4u) << "items 0 to 3 had started";
    ASSERT_LT(converted.size(), items.size()) << "the batch did not stop";
    std::string cancelled;
    for (size_t i = 0; i < items.size(); ++i) {
        const std::string target = items[i].substr(0, 3) + ".PNG";
        if (i < converted.size()) {
            EXPECT_THAT(converted, Contains(target));
            EXPECT_EQ(decode(programDir() / "PNG" / target), source(target)) << target;
        } else {
            EXPECT_THAT(converted, Not(Contains(target)));
            cancelled += "\\r\\n" + items[i] + "（已取消）";
        }
    }
    EXPECT_THAT(r.lines("box "), ElementsAre("box 图片转PNG完成，失败 " +
                                             std::to_string(items.size() - converted.size()) +
                                             " 个：" + cancelled + "|信息：|8240"));
}

} // namespace
} // namespace kelvarn::testing
