#pragma once
// Runtime helpers 4 and 5 (ReadObjectProperty, WriteObjectProperty): the properties of a unit
// reached through its window object, as a variable holds it (runtime services 2006 and 2007
// hand such objects out), rather than through its window id and unit id.

namespace kelvarn::ui {

// Puts both helpers into the runtime's helper table.
void registerObjectPropertyHelpers();

} // namespace kelvarn::ui
