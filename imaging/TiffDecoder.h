#pragma once
// TIFF files through libtiff's RGBA interface: any layout libtiff can turn into RGBA (bilevel,
// grey, palette, RGB, YCbCr, any compression it knows) becomes a 24-bit R, G, B picture, top
// row first, alpha dropped. Only the first image of a multi-image file is read. libtiff never
// prints anything: its error and warning handlers do nothing.

#include "imaging/ContentHead.h"
#include "imaging/ImageRecord.h"
#include "imaging/Progress.h"
#include "imaging/Refusal.h"

#include <cstdint>
#include <memory>

namespace kelvarn::imaging {

// Threads: a decoder object belongs to one thread at a time; distinct decoders share nothing and
// may run on any threads at once.
class TiffDecoder {
public:
    TiffDecoder() = default;
    TiffDecoder(const TiffDecoder&) = delete;
    TiffDecoder& operator=(const TiffDecoder&) = delete;
    ~TiffDecoder() { close(); }

    // Whether the file starts with a classic or big TIFF header, either byte order: the loader
    // chain offers it no other.
    static bool recognises(const ContentHead& head);

    // 1 when libtiff opens the file and its image width and length tags are both non-zero.
    int open(const char* path, ImageRecord& target, ProgressCallback progress = nullptr);
    // 1 when the target holds the whole picture. Closes either way.
    int decode();
    int close();

    uint32_t width() const { return m_width; }
    uint32_t height() const { return m_height; }
    // Why open or decode last refused the file; kept until the next open.
    const Refusal& refusal() const { return m_refusal; }

private:
    struct HandleCloser {
        void operator()(void* tif) const;
    };
    std::unique_ptr<void, HandleCloser> m_tiff; // the libtiff handle, kept out of this header
    ProgressCallback m_progress = nullptr;
    ImageRecord* m_target = nullptr;
    uint32_t m_width = 0;
    uint32_t m_height = 0;
    Refusal m_refusal;
    char m_libraryError[Refusal::kCapacity] = {}; // libtiff's last error for this file

    // Keeps `reason` (or libtiff's last error, when there is one and `preferLibrary`) as the
    // refusal, and closes.
    int refuse(const char* reason, bool preferLibrary = false);
};

} // namespace kelvarn::imaging
