#pragma once
// Directory search with the semantics of the Windows find-file calls: the last component of the
// pattern may hold the wildcards '*' and '?', letters match without regard to case, and entries
// come back sorted by name without regard to case (letters folded as the match folds them, equal
// names by their bytes), "." and ".." first.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace kelvarn::platform {

constexpr uint32_t kAttrReadOnly = 0x01; // not writable by this process
constexpr uint32_t kAttrHidden = 0x02;   // name begins with '.' ("." and ".." excepted)
constexpr uint32_t kAttrSystem = 0x04;   // never set on Linux
constexpr uint32_t kAttrDirectory = 0x10;
constexpr uint32_t kAttrArchive = 0x20; // regular file

struct FindData {
    std::string name; // long name only, runtime text (GB18030)
    uint32_t attributes = 0;
};

class FindHandle; // an open search; opaque, owned by whoever received it

// Starts a search. Returns null when the folder does not exist, the pattern is malformed or
// nothing matches; otherwise fills `first` with the first matching entry.
FindHandle* findFirstFile(std::string_view pattern, FindData& first);
// The next matching entry; false at the end of the folder.
bool findNextFile(FindHandle* handle, FindData& next);
// Closes a search; null does nothing.
void findClose(FindHandle* handle);

struct FindCloser {
    void operator()(FindHandle* h) const { findClose(h); }
};
using FindHandlePtr = std::unique_ptr<FindHandle, FindCloser>;

// Windows wildcard match of one name against one pattern component, both runtime texts.
bool wildcardMatch(std::string_view pattern, std::string_view name);

} // namespace kelvarn::platform
