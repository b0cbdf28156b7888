#include "tests/imaging/TestPictures.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>

namespace kelvarn::imaging::test {

void TempDirTest::SetUp() {
    const char* saved = std::getenv("TMPDIR");
    m_hadTmpDir = saved != nullptr;
    if (saved)
        m_savedTmpDir = saved;
    std::random_device random;
    m_root = std::filesystem::temp_directory_path() /
             ("kelvarn-imaging-" + std::to_string(random()) + std::to_string(random()));
    m_tempDir = m_root / "tmp";
    m_workDir = m_root / "work";
    std::filesystem::create_directories(m_tempDir);
    std::filesystem::create_directories(m_workDir);
    setenv("TMPDIR", m_tempDir.c_str(), 1);
}

void TempDirTest::TearDown() {
    EXPECT_EQ(tempDirEntries(), std::vector<std::string>{})
        << "files left in the temporary directory";
    if (m_hadTmpDir)
        setenv("TMPDIR", m_savedTmpDir.c_str(), 1);
    else
        unsetenv("TMPDIR");
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
}

std::vector<std::string> TempDirTest::tempDirEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_tempDir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void fillPattern(ImageRecord& image, uint32_t seed) {
    std::mt19937 random(seed);
    const size_t rowBytes = image.rowBytes();
    for (int32_t y = 0; y < image.height(); ++y) {
        uint8_t* row = image.row(y);
        for (size_t x = 0; x < rowBytes; ++x)
            row[x] = static_cast<uint8_t>(x * 7 + static_cast<size_t>(y) * 13 + (random() & 7));
    }
}

::testing::AssertionResult sameImage(const ImageRecord& a, const ImageRecord& b) {
    if (a.width() != b.width() || a.height() != b.height() ||
        a.bitsPerPixel() != b.bitsPerPixel() || a.paletteCount() != b.paletteCount())
        return ::testing::AssertionFailure()
               << a.width() << "x" << a.height() << "x" << a.bitsPerPixel() << "/"
               << a.paletteCount() << " vs " << b.width() << "x" << b.height() << "x"
               << b.bitsPerPixel() << "/" << b.paletteCount();
    for (size_t i = 0; i < a.bufferSize(); ++i)
        if (a.pixels()[i] != b.pixels()[i])
            return ::testing::AssertionFailure() << "pixel byte " << i << ": " << int(a.pixels()[i])
                                                 << " vs " << int(b.pixels()[i]);
    for (int32_t i = 0; i < a.paletteCount(); ++i)
        if (std::memcmp(a.paletteEntries() + i * 8, b.paletteEntries() + i * 8, 3) != 0)
            return ::testing::AssertionFailure() << "palette entry " << i;
    return ::testing::AssertionSuccess();
}

Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

} // namespace kelvarn::imaging::test
