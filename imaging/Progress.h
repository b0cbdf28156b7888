#pragma once
// Progress reporting of the codecs: (kind, percent, row, 0), kind 0 while writing and 1 while
// reading; percent = (row + 1) / height x 100 in floating point, truncated.

#include <cstdint>

namespace kelvarn::imaging {

using ProgressCallback = void (*)(int32_t kind, int32_t percent, int32_t row, int32_t reserved);

constexpr int32_t kProgressWriting = 0;
constexpr int32_t kProgressReading = 1;

inline void reportProgress(ProgressCallback progress, int32_t kind, int32_t row, int32_t height) {
    if (!progress || height <= 0)
        return;
    const double percent = (static_cast<double>(row) + 1.0) / height * 100.0;
    progress(kind, static_cast<int32_t>(percent), row, 0);
}

} // namespace kelvarn::imaging
