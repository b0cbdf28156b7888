#pragma once
// Writes a conversion's target atomically. The encoder writes an unnamed file in the target's
// folder, which is linked in only once complete: under the target's name when there is no
// target, otherwise under a hidden name that is then renamed over the target. Where the folder's
// file system offers no unnamed files, the encoder writes a hidden sibling created exclusively
// in the folder instead, renamed over the target once complete. Until commit() succeeds the
// target path is untouched; a process that ends before then leaves nothing (a hidden sibling is
// removed by a termination signal, see platform/files/PendingFiles.h). Replacing a target takes a
// name for an instant (no system call renames an unnamed file over another): a process killed
// right then leaves the whole new file under its hidden name. Nothing removes it later, since no
// file but the process's own is ever deleted; later conversions skip the name.
//
// Threads: safe from any thread, several at once for distinct targets (hidden names are taken
// exclusively); two that replace the same target must not overlap.

#include "platform/files/PendingFiles.h"
#include "platform/files/UnnamedFile.h"

#include <string>

namespace kelvarn::imaging {

class TargetFile {
public:
    TargetFile() = default;
    TargetFile(const TargetFile&) = delete;
    TargetFile& operator=(const TargetFile&) = delete;
    ~TargetFile() { discard(); }

    // Creates the file to write (empty) for the target path, a runtime text. False when the
    // target names no file (empty, or ending in a separator) or its folder cannot take a new
    // file (missing, not writable).
    bool create(const char* target);
    // The path of the file to write as a runtime text, for the encoder to open.
    const char* path() const { return m_writePath.c_str(); }
    // Puts the written file in place of the target. False (and nothing left) when that fails.
    bool commit();
    // Drops the written file.
    void discard();

private:
    bool createSibling();
    // Links the unnamed file in under a new hidden name and renames that over the target.
    bool replaceWithUnnamed();
    bool replaceWithSibling();
    std::string hiddenName(int number) const;

    std::string m_target;
    std::string m_folder; // native, ending in '/', or empty for the current folder
    std::string m_writePath;
    platform::UnnamedFile m_unnamed;
    std::string m_sibling; // the hidden sibling where there is no unnamed file
    platform::PendingFile m_pending;
};

} // namespace kelvarn::imaging
