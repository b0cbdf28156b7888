#pragma once
// Puts the window runtime in place for the runtime frame: the property entries (runtime entries 4
// and 5), the event services, the window and data-type services, the modal loop, and the link
// through which the start-up, the message loop and the shutdown reach the window table.

namespace kelvarn::ui {

void installWindowRuntime();

} // namespace kelvarn::ui
