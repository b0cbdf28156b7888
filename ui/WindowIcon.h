#pragma once
// The icon of a top-level window from the bytes of an .ico file.

#include "platform/windowing/Types.h"

#include <cstdint>
#include <span>

namespace kelvarn::ui {

// Sets the window's icon; bytes that are not a valid icon file (or none) leave the window
// without a custom icon. True when a custom icon is set.
bool setWindowIconFromFile(platform::WindowHandle window, std::span<const uint8_t> bytes);
bool hasCustomWindowIcon(platform::WindowHandle window);

} // namespace kelvarn::ui
