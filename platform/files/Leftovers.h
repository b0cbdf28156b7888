#pragma once
// Files that a writer names only for a while (a hidden sibling on its way to replace a target)
// carry a shared lock for as long as their writer holds them open. The kernel drops that lock
// with the process however it ends, SIGKILL included, so a later process can tell what a killed
// one left from a file still being written, and remove it.

#include <string>
#include <string_view>

namespace kelvarn::platform {

// Marks the file open as `descriptor` in use until the descriptor is closed.
void markInUse(int descriptor);

// Removes from the native folder `folder` (empty for the current one) each regular file named
// `prefix`...`suffix` that no open descriptor marks in use. Returns how many went.
int removeLeftovers(const std::string& folder, std::string_view prefix, std::string_view suffix);

} // namespace kelvarn::platform
