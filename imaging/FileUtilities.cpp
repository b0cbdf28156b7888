#include "imaging/FileUtilities.h"

#include "platform/files/FileSearch.h"
#include "platform/files/FileSystem.h"

#include <string_view>

namespace kelvarn::imaging {

namespace {

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

} // namespace

int fileExists(const char* path) {
    if (!path || !*path)
        return 0;
    platform::FindData found;
    platform::FindHandlePtr search(platform::findFirstFile(path, found));
    return search ? 1 : 0;
}

int isDirectory(const char* path) {
    if (!path || !*path)
        return 0;
    std::string_view pattern(path);
    // Only the last byte is looked at: a separator is never a GBK trail byte once the text has
    // been cut at a separator, and both separators are plain ASCII.
    if (pattern.size() > 1 && isSeparator(pattern.back()))
        pattern.remove_suffix(1);
    platform::FindData found;
    platform::FindHandlePtr search(platform::findFirstFile(pattern, found));
    if (!search)
        return 0;
    return (found.attributes & platform::kAttrDirectory) ? 1 : 0;
}

int deleteFile(const char* path) {
    if (!fileExists(path))
        return 1;
    return platform::deleteFile(path) ? 1 : 0;
}

int64_t fileSize(std::FILE* stream) {
    if (!stream || std::fseek(stream, 0, SEEK_END) != 0)
        return 0;
    const long size = std::ftell(stream);
    if (size < 0 || std::fseek(stream, 0, SEEK_SET) != 0)
        return 0;
    return size;
}

std::string temporaryDirectoryPath() {
    // Already a runtime text: a native path handed back by the platform.
    std::string directory = platform::temporaryDirectory();
    if (directory.empty() || !isDirectory(directory.c_str()))
        return {};
    if (!isSeparator(directory.back()))
        directory += '/';
    return directory;
}

std::string temporaryFileName(const char* prefix) {
    if (!prefix || !*prefix)
        return {};
    const std::string directory = temporaryDirectoryPath();
    if (directory.empty())
        return {};
    for (int64_t n = 0; n <= kLastTemporaryNumber; ++n) {
        std::string candidate = directory + prefix + std::to_string(n) + ".tmp";
        if (!fileExists(candidate.c_str()))
            return candidate;
    }
    return {};
}

} // namespace kelvarn::imaging
