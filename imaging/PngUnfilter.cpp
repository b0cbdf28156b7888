#include "imaging/PngUnfilter.h"

#include <atomic>
#include <cstring>

#ifdef __SSE2__
#include "imaging/PngUnfilterKernels.h"
#endif

namespace kelvarn::imaging {

namespace {

uint8_t paethPredictor(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = p > a ? p - a : a - p;
    const int pb = p > b ? p - b : b - p;
    const int pc = p > c ? p - c : c - p;
    if (pa <= pb && pa <= pc)
        return static_cast<uint8_t>(a);
    return static_cast<uint8_t>(pb <= pc ? b : c);
}

#ifdef __SSE2__

const bool kHasSse41 = sse41::available();
std::atomic<bool> g_sse41Allowed{true};

bool useSse41() {
    return kHasSse41 && g_sse41Allowed.load(std::memory_order_relaxed);
}

void unfilterUp(const uint8_t* in, const uint8_t* previous, uint8_t* out, size_t count) {
    size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(previous + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_add_epi8(x, b));
    }
    for (; i < count; ++i)
        out[i] = static_cast<uint8_t>(in[i] + previous[i]);
}

// Sub, Average and Paeth carry the raw pixel on the left from one pixel to the next, so they
// go a pixel at a time with every byte of the pixel in one register.
template <size_t Bpp> void unfilterSub(const uint8_t* in, uint8_t* out, size_t count) {
    __m128i a = _mm_setzero_si128();
    for (size_t i = 0; i < count; i += Bpp) {
        a = _mm_add_epi8(a, loadPixel<Bpp>(in + i));
        storePixel<Bpp>(out + i, a);
    }
}

template <size_t Bpp>
void unfilterAverage(const uint8_t* in, const uint8_t* previous, uint8_t* out, size_t count) {
    const __m128i one = _mm_set1_epi8(1);
    __m128i a = _mm_setzero_si128();
    for (size_t i = 0; i < count; i += Bpp) {
        const __m128i b = loadPixel<Bpp>(previous + i);
        // avg_epu8 rounds up; the filter's mean rounds down, which differs by the odd bit.
        const __m128i mean =
            _mm_sub_epi8(_mm_avg_epu8(a, b), _mm_and_si128(_mm_xor_si128(a, b), one));
        a = _mm_add_epi8(loadPixel<Bpp>(in + i), mean);
        storePixel<Bpp>(out + i, a);
    }
}

template <size_t Bpp>
bool unfilterPixels(uint8_t type, const uint8_t* in, const uint8_t* previous, uint8_t* out,
                    size_t count) {
    switch (type) {
    case kPngFilterSub:
        unfilterSub<Bpp>(in, out, count);
        return true;
    case kPngFilterAverage:
        unfilterAverage<Bpp>(in, previous, out, count);
        return true;
    case kPngFilterPaeth:
        if constexpr (Bpp == 3 || Bpp == 4) {
            if (useSse41()) {
                (Bpp == 3 ? sse41::unfilterPaeth3 : sse41::unfilterPaeth4)(in, previous, out,
                                                                           count);
                return true;
            }
        }
        unfilterPaeth<BaselineOps, Bpp>(in, previous, out, count);
        return true;
    default:
        return unfilterRowScalar(type, in, previous, out, count, Bpp);
    }
}

#endif

} // namespace

bool unfilterRowScalar(uint8_t type, const uint8_t* in, const uint8_t* previous, uint8_t* out,
                       size_t count, size_t bpp) {
    const size_t head = bpp < count ? bpp : count;
    switch (type) {
    case kPngFilterNone:
        if (out != in)
            std::memcpy(out, in, count);
        return true;
    case kPngFilterSub:
        for (size_t i = 0; i < head; ++i)
            out[i] = in[i];
        for (size_t i = head; i < count; ++i)
            out[i] = static_cast<uint8_t>(in[i] + out[i - bpp]);
        return true;
    case kPngFilterUp:
        for (size_t i = 0; i < count; ++i)
            out[i] = static_cast<uint8_t>(in[i] + previous[i]);
        return true;
    case kPngFilterAverage:
        for (size_t i = 0; i < head; ++i)
            out[i] = static_cast<uint8_t>(in[i] + (previous[i] >> 1));
        for (size_t i = head; i < count; ++i)
            out[i] = static_cast<uint8_t>(in[i] + ((out[i - bpp] + previous[i]) >> 1));
        return true;
    case kPngFilterPaeth:
        for (size_t i = 0; i < head; ++i)
            out[i] = static_cast<uint8_t>(in[i] + paethPredictor(0, previous[i], 0));
        for (size_t i = head; i < count; ++i)
            out[i] = static_cast<uint8_t>(
                in[i] + paethPredictor(out[i - bpp], previous[i], previous[i - bpp]));
        return true;
    default:
        return false;
    }
}

bool unfilterRow(uint8_t type, const uint8_t* in, const uint8_t* previous, uint8_t* out,
                 size_t count, size_t bpp) {
#ifdef __SSE2__
    if (type == kPngFilterUp) {
        unfilterUp(in, previous, out, count);
        return true;
    }
    // Rows are whole pixels; anything else takes the byte rules.
    if (count % bpp == 0) {
        if (bpp == 2)
            return unfilterPixels<2>(type, in, previous, out, count);
        if (bpp == 3)
            return unfilterPixels<3>(type, in, previous, out, count);
        if (bpp == 4)
            return unfilterPixels<4>(type, in, previous, out, count);
    }
#endif
    return unfilterRowScalar(type, in, previous, out, count, bpp);
}

bool unfilterRowPair(const uint8_t* types, const uint8_t* in1, const uint8_t* in2,
                     const uint8_t* previous, uint8_t* out1, uint8_t* out2, size_t count,
                     size_t bpp) {
#ifdef __SSE2__
    if (types[0] == kPngFilterPaeth && types[1] == kPngFilterPaeth && count % bpp == 0 &&
        (bpp == 3 || bpp == 4)) {
        if (useSse41())
            (bpp == 3 ? sse41::unfilterPaethPair3 : sse41::unfilterPaethPair4)(in1, in2, previous,
                                                                               out1, out2, count);
        else if (bpp == 3)
            unfilterPaethPair<BaselineOps, 3>(in1, in2, previous, out1, out2, count);
        else
            unfilterPaethPair<BaselineOps, 4>(in1, in2, previous, out1, out2, count);
        return true;
    }
#endif
    return unfilterRow(types[0], in1, previous, out1, count, bpp) &&
           unfilterRow(types[1], in2, out1, out2, count, bpp);
}

void allowSse41Unfiltering(bool allowed) {
#ifdef __SSE2__
    g_sse41Allowed.store(allowed);
#else
    (void)allowed;
#endif
}

} // namespace kelvarn::imaging
