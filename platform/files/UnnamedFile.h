#pragma once
// A new file in a folder that gets a name only when it is linked in, whole: a process that ends
// before then, however it ends, leaves nothing. Where the folder's file system offers no unnamed
// files, create() says so and the caller takes another way.

#include <string>
#include <string_view>

namespace kelvarn::platform {

class UnnamedFile {
public:
    enum class Status { Ok, Unsupported, Failed };

    UnnamedFile() = default;
    UnnamedFile(const UnnamedFile&) = delete;
    UnnamedFile& operator=(const UnnamedFile&) = delete;
    ~UnnamedFile() { close(); }

    // An empty file in `folder` (a runtime text; empty for the current folder), with the mode a
    // new file gets. Failed when the folder cannot take a new file (missing, not writable).
    Status create(std::string_view folder);
    // A path (a runtime text) that opens this file again, for a writer that takes a path.
    const std::string& path() const { return m_path; }
    // Gives the file the name `path` (a runtime text), never replacing anything: false, with
    // `nameTaken` set, when anything of that name exists.
    bool link(std::string_view path, bool& nameTaken);
    // Closes the file; unless it was linked in, the kernel frees it.
    void close();

private:
    int m_fd = -1;
    std::string m_path;
};

// Whether create() offers unnamed files at all (on unless turned off). Off, every folder is
// treated as one whose file system has none, so that tests can take the other way anywhere.
void offerUnnamedFiles(bool offered);

// Opens an unnamed file in the native folder `folder` with `flags` (O_RDWR or O_WRONLY, plus
// O_EXCL to keep it from ever being linked in) and `mode`: its descriptor, or -1 with
// `unsupported` telling whether the folder's file system (or the switch above) offers none,
// as opposed to a folder that cannot take a file.
int openUnnamedFile(const std::string& folder, int flags, unsigned mode, bool& unsupported);

} // namespace kelvarn::platform
