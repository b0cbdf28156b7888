#include "platform/files/FileSystem.h"

#include "platform/files/Path.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvarn::platform {

bool createDirectory(std::string_view path) {
    return mkdir(toNativePath(path).c_str(), 0777) == 0;
}

bool deleteFile(std::string_view path) {
    std::string native = toNativePath(path);
    struct stat st;
    if (lstat(native.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    // unlink removes a link itself, never what it points to.
    return unlink(native.c_str()) == 0;
}

bool renameFile(std::string_view from, std::string_view to) {
    return std::rename(toNativePath(from).c_str(), toNativePath(to).c_str()) == 0;
}

bool isDirectory(std::string_view path) {
    struct stat st;
    return stat(toNativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool pathExists(std::string_view path) {
    struct stat st;
    return lstat(toNativePath(path).c_str(), &st) == 0;
}

bool isRegularFile(std::string_view path) {
    struct stat st;
    return stat(toNativePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string temporaryDirectory() {
    std::string dir = "/tmp";
    if (const char* env = std::getenv("TMPDIR")) {
        std::string candidate = env;
        struct stat st;
        if (!candidate.empty() && stat(candidate.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            dir = std::move(candidate);
    }
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    return fromNativePath(dir);
}

int64_t regularFileSize(int descriptor) {
    struct stat st {};
    if (descriptor < 0 || fstat(descriptor, &st) != 0 || !S_ISREG(st.st_mode))
        return -1;
    return st.st_size;
}

int64_t regularFileSize(std::FILE* stream) {
    return stream ? regularFileSize(fileno(stream)) : -1;
}

StreamPtr openStream(std::string_view path, const char* mode) {
    return StreamPtr(std::fopen(toNativePath(path).c_str(), mode));
}

StreamPtr createNewStream(std::string_view path, bool& nameTaken) {
    const std::string native = toNativePath(path);
    std::FILE* file = std::fopen(native.c_str(), "wbx");
    nameTaken = !file && errno == EEXIST;
    return StreamPtr(file);
}

} // namespace kelvarn::platform
