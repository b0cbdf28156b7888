#pragma once
// Every request to redraw a window is noted here, so that tests can count them (TestHooks.h).

#include "platform/windowing/Types.h"

namespace kelvarn::platform::detail {

void noteRedrawRequest(WindowHandle window);

} // namespace kelvarn::platform::detail
