#include "imaging/MappedPixelBuffer.h"

#include "imaging/FileUtilities.h"

#include <string>

namespace kelvarn::imaging {

int MappedPixelBuffer::allocate(size_t size, const char* prefix) {
    release();
    if (size == 0 || !prefix || !*prefix)
        return 0;
    const std::string directory = temporaryDirectoryPath();
    if (directory.empty())
        return 0;
    // Exclusive creation makes the search for a free number and the creation one step, so a
    // file that appears in between (or a planted link) is skipped, never overwritten.
    for (int64_t n = 0; n <= kLastTemporaryNumber; ++n) {
        switch (m_mapping.create(directory + prefix + std::to_string(n) + ".tmp", size)) {
        case platform::FileMapping::Status::Ok:
            return 1;
        case platform::FileMapping::Status::NameTaken:
            continue;
        case platform::FileMapping::Status::Failed:
            return 0;
        }
    }
    return 0;
}

int MappedPixelBuffer::release() {
    m_mapping.close();
    return 1;
}

void MappedPixelBuffer::flush(size_t start, size_t count) {
    m_mapping.flush(start, count);
}

} // namespace kelvarn::imaging
