#pragma once
// Picture and icon blocks hold complete picture files. For the window icon that is a Windows
// .ico file: a 6-byte header (0, 1, image count), one 16-byte directory entry per image, and
// the images at the offsets the entries give.

#include <cstdint>
#include <span>

namespace kelvarn::ui {

struct IconImageEntry {
    uint32_t width = 0; // 0 in the file stands for 256
    uint32_t height = 0;
    uint32_t colourCount = 0;
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    uint32_t size = 0;
    uint32_t offset = 0;
};

// True when `bytes` has an icon header with at least one image and every directory entry
// names a range inside the file.
bool isIconFile(std::span<const uint8_t> bytes);
// Entry `index` of a file that passed isIconFile.
IconImageEntry iconImageEntry(std::span<const uint8_t> bytes, uint32_t index);

} // namespace kelvarn::ui
