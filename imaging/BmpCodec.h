#pragma once
// Windows bitmap files. The reader accepts 24 bits per pixel only ("BM" or "BA", core or
// information header, bottom-up or top-down rows); the writer always writes an uncompressed
// 24-bit bitmap with a 40-byte information header. All file fields are little-endian.

#include "imaging/HeapBlock.h"
#include "imaging/ImageRecord.h"
#include "imaging/Progress.h"
#include "platform/files/FileSystem.h"

#include <cstdint>
#include <string>

namespace kelvarn::imaging {

class BmpCodec {
public:
    BmpCodec() = default;
    BmpCodec(const BmpCodec&) = delete;
    BmpCodec& operator=(const BmpCodec&) = delete;
    ~BmpCodec() { close(); }

    // 1 when the file is a bitmap this reader accepts; otherwise 0 with the stream closed.
    int open(const char* path, ImageRecord& target, ProgressCallback progress = nullptr);
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
    enum class Mode { Closed, Reading, Writing };

    int refuse();
    void reset();

    ProgressCallback m_progress = nullptr;
    platform::StreamPtr m_file;
    Mode m_mode = Mode::Closed;
    uint8_t m_fileHeader[14] = {};
    HeapBlock m_headerBlock;
    std::string m_path;
    bool m_coreForm = false;
    int32_t m_bitsPerPixel = 0;
    bool m_bottomUp = false;
    uint32_t m_compression = 0;
    uint32_t m_pixelOffset = 0;
    int32_t m_width = 0;
    int32_t m_height = 0;
    ImageRecord* m_target = nullptr;
    const ImageRecord* m_source = nullptr;
};

} // namespace kelvarn::imaging
