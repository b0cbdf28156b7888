#pragma once
// What the BMP and PNG codecs share: the one C stream a codec reads or writes between open and
// close, which way it runs, the path it was opened by and the record on the other side. A codec
// derives from FileCodec<itself> and supplies open(stream, ...) and close(); close must call
// closeFile() after releasing anything of its own that still uses the stream. Why the reader
// refused a file is kept from the refusal until the next open (close leaves it).

#include "imaging/ImageRecord.h"
#include "imaging/Progress.h"
#include "imaging/Refusal.h"
#include "platform/files/FileSystem.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace kelvarn::imaging {

// Pictures are read and written in large blocks; a large stream buffer saves a system call per
// row on the formats that move row by row.
inline void useLargeBuffer(std::FILE* stream) {
    constexpr size_t kStreamBuffer = 1 << 16;
    std::setvbuf(stream, nullptr, _IOFBF, kStreamBuffer);
}

template <class Codec> class FileCodec : public RefusingDecoder<Codec> {
public:
    FileCodec(const FileCodec&) = delete;
    FileCodec& operator=(const FileCodec&) = delete;

    // 1 when the file is one this codec's reader accepts (its header read); otherwise 0 with
    // everything closed.
    int open(const char* path, ImageRecord& target, ProgressCallback progress = nullptr) {
        Codec& codec = static_cast<Codec&>(*this);
        codec.close();
        this->m_refusal.clear();
        if (!path)
            return 0;
        const int accepted = codec.open(platform::openStream(path, "rb"), target, progress);
        if (accepted)
            m_path = path;
        return accepted;
    }

protected:
    enum class Mode { Closed, Reading, Writing };

    FileCodec() = default;
    ~FileCodec() = default;

    // Closes the stream and forgets the shared state.
    void closeFile() {
        m_progress = nullptr;
        m_file.reset();
        m_mode = Mode::Closed;
        m_path.clear();
        m_bitsPerPixel = 0;
        m_width = 0;
        m_height = 0;
        m_target = nullptr;
        m_source = nullptr;
    }

    ProgressCallback m_progress = nullptr;
    platform::StreamPtr m_file;
    Mode m_mode = Mode::Closed;
    std::string m_path;
    int32_t m_bitsPerPixel = 0;
    int32_t m_width = 0;
    int32_t m_height = 0;
    ImageRecord* m_target = nullptr;
    const ImageRecord* m_source = nullptr;
};

} // namespace kelvarn::imaging
