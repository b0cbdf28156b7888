#pragma once
// The small file helpers of the image library. Paths are runtime texts.

#include "platform/files/FileSystem.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace kelvarn::imaging {

// 1 when a find-file search matches the path (wildcards included), else 0.
int fileExists(const char* path);
// The directory attribute of the path's first match after removing one trailing '\' or '/';
// 0 when nothing matches.
int isDirectory(const char* path);
// 1 when the file did not exist or was deleted.
int deleteFile(const char* path);
// Length of an open stream, which is left positioned at its start; 0 for no stream or a failed
// seek.
int64_t fileSize(std::FILE* stream);
// The size a decoder may bound its data by: of a descriptor or a stream, -1 unless a regular file.
using platform::regularFileSize;
// The temporary directory as a runtime text ending in a separator; empty when it is missing.
std::string temporaryDirectoryPath();
// The first "<temporary directory><prefix><n>.tmp" that does not exist; empty when none can be
// made. The name is only free at the time of the search: pixel files are not made from it but
// created exclusively (MappedPixelBuffer).
std::string temporaryFileName(const char* prefix);

// The highest candidate number of temporary file names.
constexpr int64_t kLastTemporaryNumber = 2047483647;

} // namespace kelvarn::imaging
