#include "runtime/core/CommandCall.h"
#include "tests/runtime/core/RuntimeFixture.h"

#include <gmock/gmock.h>

#include <cstring>
#include <string>

namespace kelvarn::testing {
using namespace kelvarn::runtime;
namespace {

const std::string kDir1 = KELVARN_TEST_DLL_DIR_1; // the build whose routines answer 1
const std::string kDir2 = KELVARN_TEST_DLL_DIR_2; // the build whose routines answer 2
const std::string kName = KELVARN_TEST_DLL_NAME;

class DllCommandTest : public RuntimeTest {
protected:
    std::vector<const char*> m_files;
    std::vector<const char*> m_exports;
    std::vector<std::string> m_storage;
    ProgramHeader m_header;

    // Declares the DLL commands (file name, export name) and installs the program.
    void declare(std::initializer_list<std::pair<std::string, std::string>> commands) {
        m_storage.clear();
        m_storage.reserve(commands.size() * 2);
        for (const auto& [file, name] : commands) {
            m_storage.push_back(file);
            m_storage.push_back(name);
        }
        m_files.clear();
        m_exports.clear();
        for (size_t i = 0; i < m_storage.size(); i += 2) {
            m_files.push_back(m_storage[i].c_str());
            m_exports.push_back(m_storage[i + 1].c_str());
        }
        m_header.dllCommandCount = static_cast<int32_t>(m_files.size());
        m_header.dllFileNames = m_files.data();
        m_header.dllExportNames = m_exports.data();
        runtimeApp().installProgram(m_header);
    }
};

TEST_F(DllCommandTest, RelativeNamesAreFoundInTheProgramDirectory) {
    declare({{kName, "kelvarnDllMark"}, {kName, "kelvarnDllAdd"}});
    runtimeApp().setProgramPath(kDir1 + "/kelvarn");
    EXPECT_EQ(CallDllCommand<int>(0), 1);
    EXPECT_EQ((CallDllCommand<int, int, int>(1, 40, 2)), 42); // arguments pass through
}

TEST_F(DllCommandTest, TheDllDirectoryComesBeforeTheProgramDirectory) {
    declare({{kName, "kelvarnDllMark"}});
    runtimeApp().setProgramPath(kDir1 + "/kelvarn");
    runtimeApp().setDllDirectory(kDir2 + "/");
    EXPECT_EQ(CallDllCommand<int>(0), 2);
}

TEST_F(DllCommandTest, TheModuleDirectoryComesAfterTheProgramDirectory) {
    declare({{kName, "kelvarnDllMark"}});
    runtimeApp().setProgramPath(kDir1 + "/kelvarn");
    runtimeApp().setModuleDirectory(kDir2 + "/");
    EXPECT_EQ(CallDllCommand<int>(0), 1);

    runtimeApp().reset();
    declare({{kName, "kelvarnDllMark"}});
    runtimeApp().setProgramPath("/nonexistent-kelvarn-folder/kelvarn");
    runtimeApp().setModuleDirectory(kDir2 + "/");
    EXPECT_EQ(CallDllCommand<int>(0), 2);
}

TEST_F(DllCommandTest, AbsolutePathsAreLoadedAsTheyStand) {
    std::string backslashed = kDir2 + "\\" + kName;
    declare({{kDir1 + "/" + kName, "kelvarnDllMark"}, {backslashed, "kelvarnDllMark"}});
    runtimeApp().setDllDirectory(kDir2 + "/");
    EXPECT_EQ(CallDllCommand<int>(0), 1);
    EXPECT_EQ(CallDllCommand<int>(1), 2);
}

TEST_F(DllCommandTest, AResolvedRoutineIsCached) {
    declare({{kName, "kelvarnDllMark"}});
    runtimeApp().setProgramPath(kDir1 + "/kelvarn");
    void* first = ResolveDllCommand(0);
    runtimeApp().setProgramPath(kDir2 + "/kelvarn");
    EXPECT_EQ(ResolveDllCommand(0), first);
    EXPECT_EQ(CallDllCommand<int>(0), 1);
}

TEST_F(DllCommandTest, CommandsWithoutAFileNameUseTheSystemLibraries) {
    declare({{"", "strlen"}, {"", "cos"}});
    EXPECT_EQ((CallDllCommand<size_t, const char*>(0, "four")), 4u);
    EXPECT_EQ((CallDllCommand<double, double>(1, 0.0)), 1.0);
}

TEST_F(DllCommandTest, AMissingExportIsARuntimeErrorNamingFileAndExport) {
    declare({{kName, "noSuchRoutine"}});
    runtimeApp().setProgramPath(kDir1 + "/kelvarn");
    std::string expected = "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“" + kName +
                           "”中的输出命令“noSuchRoutine”\r\n";
    EXPECT_EXIT(ResolveDllCommand(0), ::testing::ExitedWithCode(255), ::testing::Eq(expected));
}

TEST_F(DllCommandTest, AMissingFileIsARuntimeErrorNamingFileAndExport) {
    declare({{"libkelvarn-missing.so", "kelvarnDllMark"}});
    std::string expected = "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“libkelvarn-missing."
                           "so”中的输出命令“kelvarnDllMark”\r\n";
    EXPECT_EXIT(ResolveDllCommand(0), ::testing::ExitedWithCode(255), ::testing::Eq(expected));
}

TEST_F(DllCommandTest, AMissingSystemExportNamesOnlyTheExport) {
    declare({{"", "GetTickCount"}});
    std::string expected =
        "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件中的输出命令“GetTickCount”\r\n";
    EXPECT_EXIT(ResolveDllCommand(0), ::testing::ExitedWithCode(255), ::testing::Eq(expected));
}

TEST_F(DllCommandTest, OrdinalExportsCannotBeResolved) {
    declare({{kName, "#1"}});
    runtimeApp().setProgramPath(kDir1 + "/kelvarn");
    EXPECT_EXIT(ResolveDllCommand(0), ::testing::ExitedWithCode(255), ::testing::HasSubstr("“#1”"));
}

} // namespace
} // namespace kelvarn::testing
