#pragma once
// Mouse pointers: the standard cursor ids (kIdc* in Styles.h) and cursors built from a cursor
// file, shown over a window.

#include "platform/windowing/Types.h"

#include <cstdint>
#include <span>

namespace kelvarn::platform {

// A shared cursor for a standard id; 0 for an id that is not a standard cursor.
CursorHandle loadStandardCursor(std::uint32_t cursorId);
// A cursor from the bytes of a .cur (or .ico) file; 0 when they do not decode.
CursorHandle createCursorFromFile(std::span<const std::uint8_t> bytes);
// Releases a cursor made by createCursorFromFile; standard cursors stay.
bool destroyCursor(CursorHandle cursor);
// The pointer shown over the window; 0 goes back to the class cursor.
bool setWindowCursor(WindowHandle window, CursorHandle cursor);
CursorHandle windowCursor(WindowHandle window);

} // namespace kelvarn::platform
