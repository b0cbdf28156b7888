#pragma once
// The fixture of the tests that run the converter end to end: a copy of the driven program
// (DrivenProgram.cpp) in a fresh folder, so that its "BMP" and "PNG" folders land there, started
// offscreen as a child process with its own temporary and runtime folders, following a script.

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kelvarn::testing {

// What a run of the program left: its exit code (-1000 when it did not exit), the lines it
// logged, and what it printed.
struct ProgramRun {
    int exitCode = -1000;
    std::vector<std::string> log;
    std::string output;

    // The logged lines that start with `prefix`, in order.
    std::vector<std::string> lines(const std::string& prefix) const;
};

// The items of a logged list line, in the program's order: "list a|b" gives {a, b}.
std::vector<std::string> listItems(const std::string& line);

// The names in a folder, sorted; empty when it cannot be read.
std::vector<std::string> namesIn(const std::filesystem::path& folder);

class DrivenProgramTest : public ::testing::Test {
protected:
    void SetUp() override;

    std::filesystem::path root() const { return m_root.path(); }
    std::filesystem::path programDir() const { return root() / "program"; }
    std::filesystem::path tempDir() const { return root() / "tmp"; }
    // The folder `name` under the root, made when missing.
    std::filesystem::path folder(const std::string& name) const;

    // Runs the program with one script command a line. `environment` ("NAME=value ...") goes
    // before the program, `prefix` between the time limit and the program (e.g. to run it as
    // another user). The temporary folder must be empty afterwards.
    ProgramRun runProgram(const std::vector<std::string>& script, const std::string& environment,
                          int timeoutSeconds, const std::string& prefix = {});

private:
    TempFolder m_root;
};

} // namespace kelvarn::testing
