#pragma once
// Windows bitmap files. The reader accepts 24 bits per pixel only ("BM" or "BA", core or
// information header, bottom-up or top-down rows); the writer always writes an uncompressed
// 24-bit bitmap with a 40-byte information header. All file fields are little-endian.

#include "imaging/ContentHead.h"
#include "imaging/FileCodec.h"
#include "imaging/HeapBlock.h"

#include <cstdint>

namespace kelvarn::imaging {

// Threads: a codec object belongs to one thread at a time; distinct codecs share nothing and
// may run on any threads at once.
class BmpCodec : public FileCodec<BmpCodec> {
public:
    BmpCodec() = default;
    ~BmpCodec() { close(); }

    // Whether the file starts like a bitmap ("BM" or "BA"): the loader chain offers it no other.
    static bool recognises(const ContentHead& head);

    // 1 when the file is a bitmap this reader accepts; otherwise 0 with the stream closed.
    using FileCodec::open;
    // The same over a stream that is already open for reading (it is closed by decode/close).
    int open(platform::StreamPtr stream, ImageRecord& target, ProgressCallback progress = nullptr);
    // 1 when the target holds the whole picture. Closes the stream either way.
    int decode();

    // Creates (or empties) `path`. Only 24 bits per pixel is written, from a 24-bit source.
    int openWrite(const char* path, const ImageRecord& source, int32_t bitsPerPixel,
                  ProgressCallback progress = nullptr);
    // 1 when the whole file was written. Closes the stream either way; a failed write leaves
    // the partly written file.
    int encode();

    void close();

    // The header as read by open (0 before).
    int32_t width() const { return m_width; }
    int32_t height() const { return m_height; }
    int32_t bitsPerPixel() const { return m_bitsPerPixel; }
    bool isCoreForm() const { return m_coreForm; }
    bool isBottomUp() const { return m_bottomUp; }

private:
    static bool recognisesSignature(const uint8_t* firstTwo);

    uint8_t m_fileHeader[14] = {};
    HeapBlock m_headerBlock;
    bool m_coreForm = false;
    bool m_bottomUp = false;
    uint32_t m_compression = 0;
    uint32_t m_pixelOffset = 0;
};

} // namespace kelvarn::imaging
