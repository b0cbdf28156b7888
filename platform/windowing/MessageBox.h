#pragma once
// The modal message box.

#include "platform/windowing/Types.h"

#include <cstdint>
#include <string_view>

namespace kelvarn::platform {

// Shows text and caption (runtime texts) with the button set, icon and default button of the
// kMb* style bits and waits until a button closes it; the caller's messages keep being
// dispatched meanwhile, while our windows get no input. Returns the pressed button as kIdOk ..
// kIdNo; closing the box counts as Cancel where there is one and as OK for a lone OK button.
// 0 on failure (windowing not started), and when a quit message arrives (it stays queued).
int messageBox(WindowHandle owner, std::string_view text, std::string_view caption,
               std::uint32_t style);

} // namespace kelvarn::platform
