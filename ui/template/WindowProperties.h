#pragma once
// The property set of the window type (tag 0x00010001). Members are named after the type's
// properties; the comment gives each one's type index (property index = 8 + type index).

#include "ui/template/PropertyBlock.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelvarn::ui {

struct WindowProperties {
    static constexpr uint32_t kMaxVersion = 6;

    std::string title;                      // 0
    int32_t borderStyle = 2;                // 1
    uint32_t backgroundColour = 0xFF000000; // 2
    std::vector<uint8_t> backgroundPicture; // 3
    int32_t pictureMode = 1;                // 4
    std::vector<uint8_t> backgroundSound;   // 5
    int32_t soundPlayMode = 0;              // 6
    int32_t controlBox = 1;                 // 7
    int32_t maximizeButton = 0;             // 8
    int32_t minimizeButton = 1;             // 9
    int32_t startPosition = 1;              // 10
    int32_t movable = 1;                    // 11
    std::vector<uint8_t> icon;              // 12: a complete .ico file
    int32_t enterMovesFocus = 0;            // 13
    int32_t escapeCloses = 1;               // 14
    int32_t f1OpensHelp = 0;                // 15
    std::string helpFileName;               // 16
    int32_t helpContext = 0;                // 17
    int32_t shownInTaskbar = 1;             // 18
    int32_t dragByAnyPoint = 0;             // 19
    int32_t windowShape = 0;                // 20
    int32_t alwaysOnTop = 0;                // 21
    int32_t extraWord = 0;                  // 22
    std::string windowClassName;            // 23

    void reset() { *this = WindowProperties{}; }
    BlockStatus read(std::span<const uint8_t> block) { return readPropertyBlock(*this, block); }
    // The block in its stored layout at the maximum version.
    std::vector<uint8_t> write() const;

    void readFields(BlockReader& r, uint32_t version);
    bool operator==(const WindowProperties&) const = default;
};

} // namespace kelvarn::ui
