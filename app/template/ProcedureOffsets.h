#pragma once
// Offsets of the converter's procedures in the code area. The form template binds events to
// the first six; the code area's table maps each offset to its procedure, and a relocated
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

// Procedures no event is bound to: the entry procedure (run by the application object), the
// global initialisation it calls, and the exit procedure it registers.
constexpr uint32_t kProgramEntryOffset = 0x0700;
constexpr uint32_t kInitGlobalsOffset = 0x0800;
constexpr uint32_t kReleaseGlobalsOffset = 0x0900;

} // namespace kelvarn::app
