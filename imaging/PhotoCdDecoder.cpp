#include "imaging/PhotoCdDecoder.h"

#include "imaging/FileUtilities.h"
#include "imaging/HeapBlock.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kelvarn::imaging {

namespace {

struct Resolution {
    long offset;
    int32_t width;
    int32_t height;
    int32_t layout;
};

constexpr Resolution kResolutions[] = {
    {0x2000, 192, 128, 11},
    {0xB800, 384, 256, 12},
    {0x30000, 768, 512, 13},
};

constexpr char kSignature[] = "PCD_IPI";
constexpr size_t kSignatureLength = sizeof kSignature - 1;

uint8_t toByte(double value) {
    const double rounded = std::floor(value + 0.5);
    return static_cast<uint8_t>(std::clamp(rounded, 0.0, 255.0));
}

} // namespace

void PhotoCdDecoder::toRgb(uint8_t luma, uint8_t chroma1, uint8_t chroma2, uint8_t* rgb) {
    const double y = luma;
    const double c1 = static_cast<double>(chroma1) - 156.0;
    const double c2 = static_cast<double>(chroma2) - 137.0;
    rgb[0] = toByte(1.407488 * y + 1.3230336 * c2 + 0.0000256 * c1);
    rgb[1] = toByte(1.407488 * y - 0.67392 * c2 - 0.3954176 * c1);
    rgb[2] = toByte(1.407488 * y + 2.0360448 * c1 + 0.0000256 * c2);
}

bool PhotoCdDecoder::recognises(const ContentHead& head) {
    return head.size >= kMinimumFileSize &&
           head.holds(kSignatureOffset, kSignature, kSignatureLength);
}

int PhotoCdDecoder::open(const char* path, ImageRecord& target, int32_t resolutionIndex,
                         ProgressCallback progress) {
    close();
    m_refusal.clear();
    if (!path)
        return refuse("Photo CD: no path");
    if (resolutionIndex < 0 || resolutionIndex > 2)
        return refuse("Photo CD: resolution index %d", resolutionIndex);
    m_file = platform::openStream(path, "rb");
    if (!m_file)
        return refuse("Photo CD: the file cannot be opened");
    const int64_t size = fileSize(m_file.get());
    if (size < kMinimumFileSize)
        return refuse("Photo CD: %lld bytes are fewer than %lld", static_cast<long long>(size),
                      static_cast<long long>(kMinimumFileSize));
    char signature[kSignatureLength];
    if (std::fseek(m_file.get(), kSignatureOffset, SEEK_SET) != 0 ||
        std::fread(signature, 1, kSignatureLength, m_file.get()) != kSignatureLength ||
        std::memcmp(signature, kSignature, kSignatureLength) != 0)
        return refuse("Photo CD: no \"%s\" at offset 0x%lX", kSignature, kSignatureOffset);
    const Resolution& r = kResolutions[resolutionIndex];
    m_offset = r.offset;
    m_layout = r.layout;
    m_width = r.width;
    m_height = r.height;
    m_progress = progress;
    m_target = &target;
    return 1;
}

int PhotoCdDecoder::decode() {
    if (!m_file || !m_target)
        return refuse("Photo CD: decode without an accepted file");
    const int32_t width = m_width;
    const int32_t height = m_height;
    ImageRecord& target = *m_target;
    // Two luma rows and one chroma row (C1 in its first half, C2 in its second) per row pair.
    HeapBlock rows;
    int ok = target.create(width, height, 24, 0) && rows.allocate(3 * static_cast<size_t>(width)) &&
             std::fseek(m_file.get(), m_offset, SEEK_SET) == 0;
    if (!ok)
        m_refusal.set("Photo CD: no pixel memory for %d x %d pixels", width, height);
    const auto* luma1 = static_cast<const uint8_t*>(rows.data());
    const uint8_t* luma2 = luma1 + width;
    const uint8_t* chroma1 = luma2 + width;
    const uint8_t* chroma2 = chroma1 + width / 2;
    for (int32_t y = 0; ok && y < height; y += 2) {
        if (std::fread(rows.data(), 1, rows.size(), m_file.get()) != rows.size()) {
            ok = 0;
            m_refusal.set("Photo CD: the file ends in row %d of %d", y, height);
            break;
        }
        uint8_t* top = target.row(y);
        uint8_t* bottom = target.row(y + 1);
        for (int32_t x = 0; x < width; ++x) {
            toRgb(luma1[x], chroma1[x / 2], chroma2[x / 2], top + 3 * x);
            toRgb(luma2[x], chroma1[x / 2], chroma2[x / 2], bottom + 3 * x);
        }
        reportProgress(m_progress, kProgressReading, y + 1, height);
    }
    reportProgress(m_progress, kProgressReading, height - 1, height);
    close();
    return ok;
}

int PhotoCdDecoder::close() {
    m_file.reset();
    m_progress = nullptr;
    m_target = nullptr;
    m_offset = 0;
    m_layout = 0;
    m_width = 0;
    m_height = 0;
    return 1;
}

} // namespace kelvarn::imaging
