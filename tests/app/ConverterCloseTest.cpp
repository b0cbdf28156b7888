// A close request at each moment of a batch, for small pictures (the user-interface thread's own
// work dominates) and slow ones (the workers' does), and the session's end by a signal or a kill:
// each moment has one outcome, no target is ever partial and nothing stays in the temporary
// folder. The real program runs offscreen as a child process, driven by a script
// (DrivenProgram.cpp).

#include "tests/app/DrivenProgramTest.h"
#include "tests/app/TestPictures.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

namespace kelvarn::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::SizeIs;
using ::testing::StartsWith;

struct Pictures {
    const char* name;
    int count;
    int width;
    int height;
};
void PrintTo(const Pictures& p, std::ostream* out) {
    *out << p.name;
}
constexpr Pictures kSmall{"small", 40, 64, 48};
constexpr Pictures kSlow{"slow", 6, 1001, 751};

// p00.bmp, p01.bmp, ...
std::string nameOf(size_t index, const char* extension) {
    return (index < 10 ? "p0" : "p") + std::to_string(index) + extension;
}

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class ConverterCloseTest : public DrivenProgramTest,
                           public ::testing::WithParamInterface<Pictures> {
protected:
    void SetUp() override {
        DrivenProgramTest::SetUp();
        m_pics = folder("pics");
        const Pictures p = GetParam();
        for (int i = 0; i < p.count; ++i) {
            m_sources.push_back(pattern(p.width, p.height, i));
            writeBmp(m_pics / nameOf(static_cast<size_t>(i), ".bmp"), m_sources.back());
        }
    }

    ProgramRun run(const std::vector<std::string>& commands) {
        std::vector<std::string> script = {"click bmp", "folder " + m_pics.string(),
                                           "click choose"};
        script.insert(script.end(), commands.begin(), commands.end());
        return runProgram(script, "KELVARN_BATCH_WORKERS=2", 120);
    }

    // Every target there is whole, nothing hidden lies beside them; returns how many there are.
    size_t checkTargets() {
        size_t whole = 0;
        for (const std::string& name : namesIn(programDir() / "PNG")) {
            EXPECT_THAT(name, Not(StartsWith("."))) << "a hidden sibling was left";
            const auto picture = decode(programDir() / "PNG" / name);
            const size_t index = static_cast<size_t>(std::stoi(name.substr(1, 2)));
            EXPECT_TRUE(picture && index < m_sources.size() && *picture == m_sources[index])
                << name;
            ++whole;
        }
        return whole;
    }

    bool isSource(const Picture& picture) const {
        return std::find(m_sources.begin(), m_sources.end(), picture) != m_sources.end();
    }

    // The box's lines for the files from `first` on, cancelled: at most 20 named.
    std::string cancelledFrom(size_t first) const {
        std::string lines;
        for (size_t i = first; i < m_sources.size() && i < first + 20; ++i)
            lines += "\\r\\n" + nameOf(i, ".bmp") + "（已取消）";
        return m_sources.size() - first > 20 ? lines + "\\r\\n……" : lines;
    }

    fs::path m_pics;
    std::vector<Picture> m_sources;
};

constexpr const char* kSuccess = "box 图片转PNG成功|信息：|8192";

TEST_P(ConverterCloseTest, ACloseRequestHasOneOutcomeAtEachMomentOfTheBatch) {
    const size_t n = m_sources.size();
    {
        SCOPED_TRACE("before the first file starts: nothing converts, the window then closes");
        const ProgramRun r = run({"atstart close", "box", "click topng"});
        EXPECT_EQ(r.exitCode, 0) << r.output;
        EXPECT_THAT(r.lines("atstart "), ElementsAre("atstart busy=1"));
        EXPECT_THAT(r.lines("box "), ElementsAre("box 图片转PNG完成，失败 " + std::to_string(n) +
                                                 " 个：" + cancelledFrom(0) + "|信息：|8240"));
        EXPECT_EQ(checkTargets(), 0u);
        EXPECT_THAT(r.lines("script ended with the window open"), IsEmpty());
    }
    fs::remove_all(programDir() / "PNG");
    {
        SCOPED_TRACE("mid-batch: the files under way finish, the rest are cancelled");
        const ProgramRun r = run({"during 2 close", "box", "click topng"});
        EXPECT_EQ(r.exitCode, 0) << r.output;
        const size_t converted = checkTargets();
        EXPECT_GE(converted, 3u);
        EXPECT_LT(converted, n);
        EXPECT_THAT(r.lines("box "),
                    ElementsAre("box 图片转PNG完成，失败 " + std::to_string(n - converted) +
                                " 个：" + cancelledFrom(converted) + "|信息：|8240"));
        EXPECT_THAT(r.lines("script ended with the window open"), IsEmpty());
    }
    fs::remove_all(programDir() / "PNG");
    {
        SCOPED_TRACE("after the last file, before the box: nothing is cancelled");
        const ProgramRun r = run({"atend close", "box", "click topng"});
        EXPECT_EQ(r.exitCode, 0) << r.output;
        EXPECT_THAT(r.lines("atend "), ElementsAre("atend busy=0"));
        EXPECT_THAT(r.lines("box "), ElementsAre(kSuccess));
        EXPECT_EQ(checkTargets(), n);
        EXPECT_THAT(r.lines("script ended with the window open"), IsEmpty());
    }
    {
        SCOPED_TRACE("while the box is open: the close button does nothing, the program goes on");
        const ProgramRun r = run({"boxclose", "click topng", "state", "close"});
        EXPECT_EQ(r.exitCode, 0) << r.output;
        EXPECT_THAT(r.lines("boxclose "), ElementsAre("boxclose taken=0 window=1"));
        EXPECT_THAT(r.lines("box "), ElementsAre(kSuccess));
        EXPECT_THAT(r.lines("list "), SizeIs(1)) << "the window was still there after the box";
        EXPECT_EQ(checkTargets(), n);
        EXPECT_THAT(r.lines("script ended with the window open"), IsEmpty());
    }
    {
        SCOPED_TRACE("after the box: an ordinary close");
        const ProgramRun r = run({"box", "click topng", "state", "close"});
        EXPECT_EQ(r.exitCode, 0) << r.output;
        EXPECT_THAT(r.lines("list "), SizeIs(1));
        EXPECT_THAT(r.lines("script ended with the window open"), IsEmpty());
    }
}

TEST_P(ConverterCloseTest, TheSessionsEndStopsTheBatchAtAFileBoundaryAndReportsOnStandardError) {
    const size_t n = m_sources.size();
    for (const char* signal : {"TERM", "HUP", "INT"}) {
        SCOPED_TRACE(signal);
        fs::remove_all(programDir() / "PNG");
        // No "box": nobody answers a box when the session ends.
        const ProgramRun r = run({std::string("during 2 signal ") + signal, "click topng"});
        EXPECT_EQ(r.exitCode, 0) << r.output;
        EXPECT_THAT(r.lines("box "), IsEmpty());
        const size_t converted = checkTargets();
        EXPECT_LT(converted, n);
        EXPECT_THAT(r.output,
                    HasSubstr("图片转PNG完成，失败 " + std::to_string(n - converted) + " 个："));
        EXPECT_THAT(r.output, HasSubstr("（已取消）"));
        EXPECT_THAT(r.lines("script ended with the window open"), IsEmpty());
    }
    {
        SCOPED_TRACE("while the box is open the signal closes it, then the window");
        const ProgramRun r = run({"boxsignal", "click topng"});
        EXPECT_EQ(r.exitCode, 0) << r.output;
        EXPECT_THAT(r.lines("box "), ElementsAre(kSuccess));
        EXPECT_THAT(r.lines("script ended with the window open"), IsEmpty());
    }
}

// A second signal while the first is handled, or SIGKILL at any moment, ends the process there:
// still nothing in the temporary folder (runProgram checks it), every target either the old file
// untouched or the new one whole, and no hidden name but, when the end falls in the one instant
// no system call closes, a whole new picture.
TEST_P(ConverterCloseTest, AKilledBatchLeavesNothingBehindAndNoTargetDamaged) {
    const fs::path out = programDir() / "PNG";
    for (const bool existing : {false, true})
        for (const char* moment : {"atstart", "during 1", "during 3"})
            for (const bool twice : {false, true}) {
                const std::string how = twice ? "signal TERM, twice" : "signal KILL";
                SCOPED_TRACE(moment + (" " + how) + (existing ? " over old targets" : ""));
                fs::remove_all(out);
                if (existing) {
                    fs::create_directories(out);
                    for (size_t i = 0; i < m_sources.size(); ++i) {
                        std::ofstream(out / nameOf(i, ".PNG")) << "old target " << i;
                    }
                }
                // The second signal comes while the first is being handled.
                const ProgramRun r =
                    run({std::string(moment) + (twice ? " signal TERM TERM" : " signal KILL"),
                         "click topng"});
                EXPECT_NE(r.exitCode, 0) << "the process was killed";
                for (const std::string& name : namesIn(out)) {
                    const std::string bytes = bytesOf(out / name);
                    if (bytes.rfind("old target ", 0) == 0)
                        continue;
                    const auto picture = decode(out / name);
                    if (name[0] == '.') {
                        // Killed in the instant between linking a whole new target under a hidden
                        // name and renaming it over the old one: only ever a whole picture.
                        EXPECT_TRUE(picture && isSource(*picture)) << name;
                        continue;
                    }
                    const size_t index = static_cast<size_t>(std::stoi(name.substr(1, 2)));
                    EXPECT_TRUE(picture && *picture == m_sources[index]) << name << " is damaged";
                }
            }
}

INSTANTIATE_TEST_SUITE_P(Pictures, ConverterCloseTest, ::testing::Values(kSmall, kSlow),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kelvarn::testing
