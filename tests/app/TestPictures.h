#pragma once
// Pictures for the end-to-end converter tests: made from code, written as PNG or 24-bit BMP, and
// read back through the image library to compare a target with its source.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace kelvarn::testing {

// A picture as rows of R, G, B bytes, top row first.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    bool operator==(const Picture&) const = default;
};

// Odd sizes, so that BMP row padding shows; every channel differs along both axes.
Picture pattern(int width, int height, int seed);

void writePng(const std::filesystem::path& path, const Picture& p);
// A 24-bit BMP: rows bottom-up, B G R, each padded to four bytes.
void writeBmp(const std::filesystem::path& path, const Picture& p);

// The picture as the image library reads it, whatever its format.
std::optional<Picture> decode(const std::filesystem::path& path);

} // namespace kelvarn::testing
