#pragma once
// JPEG files through libjpeg: colour files become 24-bit R, G, B pictures, one-component files
// 8-bit grey pictures without palette; CMYK and YCCK files are refused. Rows are decoded one
// scanline at a time straight into the target record.

#include "imaging/ContentHead.h"
#include "imaging/ImageRecord.h"
#include "imaging/Progress.h"
#include "imaging/Refusal.h"

#include <cstdint>
#include <memory>

namespace kelvarn::imaging {

// Threads: a decoder object belongs to one thread at a time; distinct decoders share nothing and
// may run on any threads at once.
class JpegDecoder {
public:
    JpegDecoder();
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;
    ~JpegDecoder();

    // Whether the file starts with the start-of-image marker: the loader chain offers it no
    // other.
    static bool recognises(const ContentHead& head);

    // 1 when the file starts with the start-of-image marker and libjpeg reads its header and
    // starts decompression with one or three output components; otherwise 0, all closed.
    int open(const char* path, ImageRecord& target, ProgressCallback progress = nullptr);
    // 1 when the target holds the whole picture. Closes either way.
    int decode();
    int close();

    int32_t width() const { return m_width; }
    int32_t height() const { return m_height; }
    // Why open or decode last refused the file; kept until the next open.
    const Refusal& refusal() const { return m_refusal; }

private:
    struct Session; // libjpeg state; kept out of this header
    std::unique_ptr<Session> m_session;
    ProgressCallback m_progress = nullptr;
    ImageRecord* m_target = nullptr;
    int32_t m_width = 0;
    int32_t m_height = 0;
    int32_t m_layout = 0; // 14: three components, 24 bits; 15: one component, 8-bit grey
    Refusal m_refusal;

    // Keeps libjpeg's message of the failure (or `fallback`) as the refusal, and closes.
    int refuse(const char* fallback);
};

} // namespace kelvarn::imaging
