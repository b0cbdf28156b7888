// Runs the test program (TestProgram.cpp) as a child process through its real start and end.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

struct ProgramRun {
    int exitCode = -1000;
    std::vector<std::string> log;
};

ProgramRun runProgram(const std::string& scenario) {
    std::string logPath = ::testing::TempDir() + "kelvarn-program-" + scenario + ".log";
    std::remove(logPath.c_str());
    std::string command = "QT_QPA_PLATFORM=offscreen KELVARN_TEST_SCENARIO=" + scenario +
                          " KELVARN_TEST_LOG='" + logPath + "' '" KELVARN_TEST_PROGRAM "'";
    int status = std::system(command.c_str());
    ProgramRun run;
    if (WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    std::ifstream in(logPath);
    for (std::string line; std::getline(in, line);)
        run.log.push_back(line);
    std::remove(logPath.c_str());
    return run;
}

TEST(ProgramLifeTest, NormalEndRunsTheExitProcedureOnceNotifiesEveryLibraryAndExitsZero) {
    ProgramRun run = runProgram("normal");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.log, (std::vector<std::string>{
                           "notify 1 1",
                           "notify 2 1",
                           "created",
                           "click 52010001 16010002",
                           "loop ended",
                           "exit procedure",
                           "notify 1 6",
                           "notify 2 6",
                       }));
}

TEST(ProgramLifeTest, RuntimeErrorShowsTheBoxRunsNoProcedureAndExitsMinusOne) {
    ProgramRun run = runProgram("error");
    EXPECT_EQ(run.exitCode, 255);
    EXPECT_EQ(run.log,
              (std::vector<std::string>{
                  "notify 1 1",
                  "notify 2 1",
                  "created",
                  "click 52010001 16010002",
                  "box 运行时出错!\\r\\n\\r\\n错误代码：5\\r\\n\\r\\n错误信息：数据或数组类型不匹配"
                  "\\r\\n|错误|16|0",
                  "notify 1 6",
                  "notify 2 6",
              }))
        << "no second click while the box is open, no exit procedure";
}

TEST(ProgramLifeTest, MissingStartupWindowEndsWithTheStartupError) {
    ProgramRun run = runProgram("missing");
    EXPECT_EQ(run.exitCode, 255);
    EXPECT_EQ(run.log, (std::vector<std::string>{
                           "notify 1 1",
                           "notify 2 1",
                           "box 运行时出错!\\r\\n\\r\\n错误信息：载入启动窗口失败\\r\\n|错误|16|0",
                           "notify 1 6",
                           "notify 2 6",
                       }));
}

} // namespace
