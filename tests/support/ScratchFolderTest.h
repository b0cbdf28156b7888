#pragma once
// Fixture of the image library, conversion command and front-end tests: each test gets a fresh
// folder with work/ for its files and tmp/ as TMPDIR, where the pixel files go. After the test
// tmp/ must be empty again (no pixel file outlives its picture), and the whole folder is
// removed.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace kelvarn::testing {

class ScratchFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kelvarn-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        std::filesystem::create_directory(m_root + "/work");
        std::filesystem::create_directory(m_root + "/tmp");
        if (const char* old = std::getenv("TMPDIR"))
            m_oldTmp = old;
        setenv("TMPDIR", (m_root + "/tmp").c_str(), 1);
    }

    void TearDown() override {
        EXPECT_EQ(entries(tmpFolder()), std::vector<std::string>{})
            << "files left in the temporary folder";
        if (m_oldTmp.empty())
            unsetenv("TMPDIR");
        else
            setenv("TMPDIR", m_oldTmp.c_str(), 1);
        std::error_code ec;
        std::filesystem::remove_all(m_root, ec);
    }

    // The test's own files.
    std::string work(const std::string& name) const { return m_root + "/work/" + name; }
    std::string workFolder() const { return m_root + "/work"; }
    // The folder TMPDIR names while the test runs (pixel files only), and a name in it.
    std::string tmpFolder() const { return m_root + "/tmp"; }
    std::string tmp(const std::string& name) const { return m_root + "/tmp/" + name; }

    // Names in the folder, sorted; empty when it cannot be read.
    static std::vector<std::string> entries(const std::string& folder) {
        std::vector<std::string> names;
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(folder, ec))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string m_root;
    std::string m_oldTmp;
};

} // namespace kelvarn::testing
