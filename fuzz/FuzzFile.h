#pragma once
// The fuzz input as a named file, for readers that open a path: one file per process in the
// temporary folder, rewritten for every input and removed at exit.

#include "imaging/PixelLimit.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace kelvarn::fuzz {

class FuzzFile {
public:
    FuzzFile() {
        // A tiny file may announce a huge but valid picture; keep such pictures cheap so the
        // fuzzer spends its time in the parsers rather than in filling pixel memory.
        imaging::setPixelByteLimit(uint64_t{16} << 20);
        std::random_device random;
        m_path = (std::filesystem::temp_directory_path() /
                  ("kelvarn-fuzz-" + std::to_string(random()) + std::to_string(random())))
                     .string();
    }
    ~FuzzFile() {
        std::error_code ec;
        std::filesystem::remove(m_path, ec);
    }

    // Writes the input (padded with zero bytes up to `minimumSize`) and returns the path.
    const char* write(const uint8_t* data, size_t size, size_t minimumSize = 0) {
        std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (size < minimumSize) {
            const std::string zeros(minimumSize - size, '\0');
            out.write(zeros.data(), static_cast<std::streamsize>(zeros.size()));
        }
        return m_path.c_str();
    }

private:
    std::string m_path;
};

inline FuzzFile& fuzzFile() {
    static FuzzFile file;
    return file;
}

} // namespace kelvarn::fuzz
