#pragma once
// Shared by the hardening tests: the conversion commands called as the converter calls them,
// small hand-made files of every kind, and a child process for faults that touch the process
// (file-size limits, other users, blocking opens).

#include "tests/support/PictureFiles.h"
#include "tests/support/PngFiles.h"
#include "tests/support/ScratchFolderTest.h"

#include <cstdint>
#include <functional>
#include <string>

namespace kelvarn::testing {

// The result code of the command, with runtime-text (GB18030) paths.
int32_t commandToBmp(const std::string& source, const std::string& target);
int32_t commandToPng(const std::string& source, const std::string& target);

// Rewrites the image width (256) and length (257) tags of the first directory.
bool patchTiffSize(Bytes& tiff, uint16_t width, uint16_t height);
// Rewrites the size in the first start-of-frame marker.
bool patchJpegSize(Bytes& jpeg, uint16_t width, uint16_t height);

// Runs `body` in a forked child and hands back the integer it returns, or kChildDied when the
// child ended by a signal or did not answer within `seconds`.
constexpr int64_t kChildDied = INT64_MIN;
int64_t inChild(const std::function<int64_t()>& body, unsigned seconds = 20);

} // namespace kelvarn::testing
