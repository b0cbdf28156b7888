#pragma once
// Offsets of the converter's procedures in the code area. The form template binds events to
// these offsets; the code area's table maps each offset to its procedure, and a relocated
// binding holds the area's base number plus the offset. No offset is 0, so a bound event never
// relocates to 0 (not bound) whatever the base.

#include <cstdint>

namespace kelvarn::app {

constexpr uint32_t kOnWindowCreatedOffset = 0x0100; // window event 0: created with its units
constexpr uint32_t kOnChooseFolderOffset = 0x0200;  // "选择图片目录" clicked
constexpr uint32_t kOnConvertToPngOffset = 0x0300;  // "转PNG" clicked
constexpr uint32_t kOnConvertToBmpOffset = 0x0400;  // "转BMP" clicked
constexpr uint32_t kOnBmpChosenOffset = 0x0500;     // radio box "BMP" clicked
constexpr uint32_t kOnPngChosenOffset = 0x0600;     // radio box "PNG" clicked

} // namespace kelvarn::app
