#pragma once
// The file search of the runtime helper table: one entry name per call, the open search held
// in a slot that the calling procedure owns.

#include <cstdint>

namespace kelvarn::platform {
class FindHandle;
}

namespace kelvarn::commands {

// `FindFile` (runtime helper 0). A non-empty pattern starts a new search (closing one still
// open in the slot); an empty or null pattern continues the search in the slot. Returns a new
// text with the next accepted entry's name, or null when there is none, the slot then null.
// attributesOmitted: any entry that is not a directory; else attributes & 0x37 filters (0: only
// entries whose attribute word is 0; otherwise any shared bit).
char* FindFile(const char* pattern, uint32_t attributes, int32_t attributesOmitted,
               platform::FindHandle** slot);

// `CloseFind` (runtime helper 1): closes a search by the slot's value; null does nothing.
void CloseFind(platform::FindHandle* handle);

// Wires both into the runtime helper table.
void installFileSearchHelpers();

} // namespace kelvarn::commands
