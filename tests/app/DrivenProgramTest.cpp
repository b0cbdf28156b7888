#include "tests/app/DrivenProgramTest.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sys/wait.h>

namespace kelvarn::testing {

namespace fs = std::filesystem;

std::vector<std::string> ProgramRun::lines(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& line : log)
        if (line.rfind(prefix, 0) == 0)
            found.push_back(line);
    return found;
}

std::vector<std::string> listItems(const std::string& line) {
    std::vector<std::string> items;
    const std::string rest = line.substr(std::string("list ").size());
    size_t start = 0;
    while (start < rest.size()) {
        size_t bar = rest.find('|', start);
        if (bar == std::string::npos)
            bar = rest.size();
        items.push_back(rest.substr(start, bar - start));
        start = bar + 1;
    }
    return items;
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, ec))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void DrivenProgramTest::SetUp() {
    fs::create_directories(programDir());
    fs::create_directories(tempDir());
    // The windowing system keeps its runtime folder apart, so that the temporary directory
    // holds only what the program itself creates there.
    fs::create_directories(root() / "runtime");
    fs::permissions(root() / "runtime", fs::perms::owner_all, fs::perm_options::replace);
    const fs::path program = programDir() / "kelvarn";
    std::error_code ec;
    fs::create_hard_link(KELVARN_DRIVEN_PROGRAM, program, ec);
    if (ec)
        fs::copy_file(KELVARN_DRIVEN_PROGRAM, program);
    fs::permissions(program, fs::perms::owner_all, fs::perm_options::add);
}

fs::path DrivenProgramTest::folder(const std::string& name) const {
    fs::path p = root() / name;
    fs::create_directories(p);
    return p;
}

ProgramRun DrivenProgramTest::runProgram(const std::vector<std::string>& script,
                                         const std::string& environment, int timeoutSeconds,
                                         const std::string& prefix) {
    const fs::path scriptPath = root() / "script.txt";
    const fs::path logPath = root() / "log.txt";
    const fs::path outputPath = root() / "output.txt";
    {
        std::ofstream out(scriptPath);
        for (const std::string& line : script)
            out << line << "\n";
    }
    fs::remove(logPath);
    const std::string command =
        "cd '" + root().string() + "' && QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR='" +
        (root() / "runtime").string() + "' TMPDIR='" + tempDir().string() +
        "' KELVARN_DRIVER_SCRIPT='" + scriptPath.string() + "' KELVARN_DRIVER_LOG='" +
        logPath.string() + "' " + environment + " timeout " + std::to_string(timeoutSeconds) + " " +
        prefix + "'" + (programDir() / "kelvarn").string() + "' >'" + outputPath.string() +
        "' 2>&1";
    const int status = std::system(command.c_str());
    ProgramRun result;
    if (WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    std::ifstream in(logPath);
    for (std::string line; std::getline(in, line);)
        result.log.push_back(line);
    std::ifstream printed(outputPath, std::ios::binary);
    result.output.assign(std::istreambuf_iterator<char>(printed), {});
    EXPECT_THAT(namesIn(tempDir()), ::testing::IsEmpty()) << "temporary files left behind";
    return result;
}

} // namespace kelvarn::testing
