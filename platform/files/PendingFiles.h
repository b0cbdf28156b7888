#pragma once
// Names of files that exist only while a write is under way (a hidden sibling that is renamed
// over its target once complete). A termination signal removes them before the process ends, so
// that even an interrupted program leaves nothing behind.
//
// Threads: names may be registered and released from any thread, several at once.

#include <string_view>

namespace kelvarn::platform {

// One registered name; released when the object goes. A name that cannot be registered (every
// slot taken, or too long) is simply not removed on termination.
class PendingFile {
public:
    PendingFile() = default;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile() { release(); }

    // Registers `path` (a runtime text) in place of any earlier name of this object.
    void registerName(std::string_view path);
    // Forgets the name; the file itself is left alone.
    void release();

private:
    int m_slot = -1;
};

// Removes every registered file. Async-signal-safe: a signal handler may call it.
void removePendingFiles();
// Makes SIGTERM, SIGINT and SIGHUP remove the registered files and then end the process as the
// signal would have. A signal that is ignored stays ignored.
void removePendingFilesOnTermination();

} // namespace kelvarn::platform
