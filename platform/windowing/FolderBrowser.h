#pragma once
// The folder browser.

#include "platform/windowing/Types.h"

#include <optional>
#include <string>
#include <string_view>

namespace kelvarn::platform {

// Lets the user choose a folder (or, with includeFiles, a folder or a file) in a modal dialog
// that shows the instruction (runtime text) as its title. Returns the chosen native path as a
// runtime text, without a trailing "/" except for the root "/" itself, or nothing on cancel.
// Our windows get no input while it is open.
std::optional<std::string> browseForFolder(WindowHandle owner, std::string_view instruction,
                                           bool includeFiles);

} // namespace kelvarn::platform
