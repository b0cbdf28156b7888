#pragma once
// Pictures and files the imaging tests make themselves, and a fixture that gives every test a
// fresh temporary directory and proves that no pixel file outlives the test.

#include "imaging/ImageRecord.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kelvarn::imaging::test {

using Bytes = std::vector<uint8_t>;

class TempDirTest : public ::testing::Test {
protected:
    void SetUp() override;
    // Fails the test when anything is left in the temporary directory.
    void TearDown() override;

    // The directory TMPDIR points at while the test runs (pixel files only).
    const std::filesystem::path& tempDir() const { return m_tempDir; }
    // A path in a separate work directory for the test's own files.
    std::string workPath(const std::string& name) const { return (m_workDir / name).string(); }
    std::vector<std::string> tempDirEntries() const;

private:
    std::filesystem::path m_root;
    std::filesystem::path m_tempDir;
    std::filesystem::path m_workDir;
    std::string m_savedTmpDir;
    bool m_hadTmpDir = false;
};

// Deterministic pixels that differ in every channel, row and column.
void fillPattern(ImageRecord& image, uint32_t seed = 0);
// Byte-wise equality of size, depth, palette count, pixels and palette colours.
::testing::AssertionResult sameImage(const ImageRecord& a, const ImageRecord& b);

Bytes readFile(const std::string& path);
void writeFile(const std::string& path, const Bytes& bytes);

} // namespace kelvarn::imaging::test
