#pragma once
// PCX files of 8 bits per pixel (palette from the last 768 bytes of the file) or 24 bits per
// pixel (red, green and blue planes per scanline), run-length compressed. Scanlines are decoded
// one at a time from a bounded window of the file straight into the target record.

#include "imaging/ContentHead.h"
#include "imaging/ImageRecord.h"
#include "imaging/Progress.h"
#include "imaging/Refusal.h"
#include "platform/files/FileSystem.h"

#include <cstdint>

namespace kelvarn::imaging {

// Threads: a decoder object belongs to one thread at a time; distinct decoders share nothing and
// may run on any threads at once.
class PcxDecoder : public RefusingDecoder<PcxDecoder> {
public:
    static constexpr size_t kHeaderSize = 128;
    static constexpr size_t kPaletteSize = 768;

    PcxDecoder() = default;
    PcxDecoder(const PcxDecoder&) = delete;
    PcxDecoder& operator=(const PcxDecoder&) = delete;
    ~PcxDecoder() { close(); }

    // Whether the file starts with the PCX manufacturer byte 0x0A: the loader chain offers it no
    // other.
    static bool recognises(const ContentHead& head);

    // 1 when the header starts with 0x0A, both pairs of bounds differ and planes x bits per
    // plane is 8 or 24.
    int open(const char* path, ImageRecord& target, ProgressCallback progress = nullptr);
    // 1 when the target holds the whole picture; a file whose compressed data end before the
    // last scanline fails. Closes either way.
    int decode();
    int close();

    int32_t bitsPerPixel() const { return m_bitsPerPixel; }

private:
    int decodeRows(int32_t width, int32_t height, uint64_t dataLength);

    platform::StreamPtr m_file;
    ProgressCallback m_progress = nullptr;
    ImageRecord* m_target = nullptr;
    uint8_t m_header[kHeaderSize] = {};
    int32_t m_bitsPerPixel = 0;
};

} // namespace kelvarn::imaging
