#include "imaging/MappedPixelBuffer.h"

#include "imaging/FileUtilities.h"

#include <string>

namespace kelvarn::imaging {

int MappedPixelBuffer::allocate(size_t size, const char* prefix) {
    // A buffer that is allocated again deletes its previous file first: no earlier pixel file
    // is ever left behind, whoever calls.
    release(true);
    if (size == 0)
        return 0;
    if (!prefix || !*prefix)
        return 0;
    const std::string directory = temporaryDirectoryPath();
    if (directory.empty())
        return 0;
    // Exclusive creation makes the search for a free number and the creation one step, so a
    // file that appears in between (or a planted link) is skipped, never overwritten.
    for (int64_t n = 0; n <= kLastTemporaryNumber; ++n) {
        std::string candidate = directory + prefix + std::to_string(n) + ".tmp";
        switch (m_mapping.create(candidate, size)) {
        case platform::FileMapping::Status::Ok:
            m_path = std::move(candidate);
            m_size = size;
            return 1;
        case platform::FileMapping::Status::NameTaken:
            continue;
        case platform::FileMapping::Status::Failed:
            return 0;
        }
    }
    return 0;
}

int MappedPixelBuffer::release(bool deleteFile) {
    if (deleteFile)
        m_mapping.closeAndRemove();
    else
        m_mapping.close();
    m_path.clear();
    m_size = 0;
    return 1;
}

void MappedPixelBuffer::flush(size_t start, size_t count) {
    if (m_size == 0 || start >= m_size)
        return;
    m_mapping.flush(start, count);
}

} // namespace kelvarn::imaging
