#pragma once
// Files, folders and C streams. Every path argument is a runtime text (see Path.h).

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace kelvarn::platform {

// One level; false when the folder exists already or its parent is missing.
bool createDirectory(std::string_view path);
// Deletes a file (never a folder, never through a link to its target); false on failure.
bool deleteFile(std::string_view path);
// Renames over an existing target atomically; false on failure.
bool renameFile(std::string_view from, std::string_view to);
bool isDirectory(std::string_view path);
bool pathExists(std::string_view path);
// A regular file, a link to one included. False for folders, pipes, sockets and devices, which
// a reader could block on or read without end.
bool isRegularFile(std::string_view path);
// $TMPDIR when it names an existing directory, else /tmp; native, without trailing '/'.
std::string temporaryDirectory();

struct StreamCloser {
    void operator()(std::FILE* f) const {
        if (f)
            std::fclose(f);
    }
};
using StreamPtr = std::unique_ptr<std::FILE, StreamCloser>;

// Length of the regular file open as `descriptor` or `stream`, without moving it; -1 for anything
// else (a pipe, a failed call), whose size says nothing about its data. Buffered stream data
// that is not written yet does not count.
int64_t regularFileSize(int descriptor);
int64_t regularFileSize(std::FILE* stream);

// fopen over a runtime-text path.
StreamPtr openStream(std::string_view path, const char* mode);
// A new, empty file opened for writing; never an existing file or a link at the name. When it
// fails, `nameTaken` says whether something of that name exists (rather than the folder
// refusing new files): read from the open itself, so that a file that comes and goes at the
// name on another thread cannot be mistaken for a folder that refuses.
StreamPtr createNewStream(std::string_view path, bool& nameTaken);

} // namespace kelvarn::platform
