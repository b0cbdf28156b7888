#pragma once
// Writes a conversion's target atomically: the encoder writes a hidden sibling of the target,
// created exclusively in the target's folder, and only a complete file is renamed over the
// target. Until commit() succeeds the target path is untouched, and the sibling is removed
// whatever happens.
//
// Threads: safe from any thread, several at once for distinct targets (siblings are created
// exclusively); two that replace the same target must not overlap.

#include <string>

namespace kelvarn::imaging {

class TargetFile {
public:
    TargetFile() = default;
    TargetFile(const TargetFile&) = delete;
    TargetFile& operator=(const TargetFile&) = delete;
    ~TargetFile() { discard(); }

    // Creates the sibling (an empty file) for the target path, a runtime text. False when the
    // target names no file (empty, or ending in a separator) or its folder cannot take a new
    // file (missing, not writable).
    bool create(const char* target);
    // The sibling's path as a runtime text, for the encoder to open.
    const char* path() const { return m_sibling.c_str(); }
    // Renames the sibling over the target. False (and the sibling removed) when that fails.
    bool commit();
    // Removes the sibling if it is still there.
    void discard();

private:
    std::string m_target;
    std::string m_sibling;
};

} // namespace kelvarn::imaging
