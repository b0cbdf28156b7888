#pragma once
// Photo CD image packs: one of the three base resolutions (192 x 128, 384 x 256, 768 x 512),
// stored as pairs of luma rows followed by one row of subsampled chroma, converted to 24-bit
// R, G, B. A file is taken only when it is larger than 0xFFFFF bytes and carries "PCD_IPI" at
// offset 0x800, so an arbitrary large file is not turned into a noise picture.

#include "imaging/ContentHead.h"
#include "imaging/ImageRecord.h"
#include "imaging/Progress.h"
#include "imaging/Refusal.h"
#include "platform/files/FileSystem.h"

#include <cstdint>

namespace kelvarn::imaging {

// Threads: a decoder object belongs to one thread at a time; distinct decoders share nothing and
// may run on any threads at once.
class PhotoCdDecoder : public RefusingDecoder<PhotoCdDecoder> {
public:
    static constexpr int64_t kMinimumFileSize = 0x100000;
    static constexpr long kSignatureOffset = 0x800;

    PhotoCdDecoder() = default;
    PhotoCdDecoder(const PhotoCdDecoder&) = delete;
    PhotoCdDecoder& operator=(const PhotoCdDecoder&) = delete;
    ~PhotoCdDecoder() { close(); }

    // Whether the file is large enough and carries the signature: the loader chain offers it no
    // other.
    static bool recognises(const ContentHead& head);

    // `resolutionIndex` 0, 1 or 2; the loader chain always asks for 2 (768 x 512).
    int open(const char* path, ImageRecord& target, int32_t resolutionIndex,
             ProgressCallback progress = nullptr);
    // 1 when the target holds the whole picture. Closes either way.
    int decode();
    int close();

    int32_t width() const { return m_width; }
    int32_t height() const { return m_height; }

    // One pixel of the conversion, exposed for tests: Y, C1 and C2 as stored.
    static void toRgb(uint8_t luma, uint8_t chroma1, uint8_t chroma2, uint8_t* rgb);

private:
    platform::StreamPtr m_file;
    ProgressCallback m_progress = nullptr;
    ImageRecord* m_target = nullptr;
    long m_offset = 0;
    int32_t m_layout = 0; // 11, 12, 13 for resolution 0, 1, 2
    int32_t m_width = 0;
    int32_t m_height = 0;
};

} // namespace kelvarn::imaging
