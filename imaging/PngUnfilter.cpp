#include "imaging/PngUnfilter.h"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
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

// One pixel of Bpp bytes in the low lanes of a register. Exactly Bpp bytes are touched: rows are
// undone in place, so a wider store would overwrite the next pixel's filtered bytes.
// The bytes are put together in a general register: going through memory, a 3-byte pixel would
// be written in pieces and read back whole, which stalls the store-to-load forwarding.
template <size_t Bpp> __m128i loadPixel(const uint8_t* p) {
    uint32_t v;
    if constexpr (Bpp == 4) {
        std::memcpy(&v, p, 4);
    } else {
        uint16_t low;
        std::memcpy(&low, p, 2);
        v = low;
        if constexpr (Bpp == 3)
            v |= uint32_t{p[2]} << 16;
    }
    return _mm_cvtsi32_si128(static_cast<int>(v));
}

template <size_t Bpp> void storePixel(uint8_t* p, __m128i v) {
    const auto bits = static_cast<uint32_t>(_mm_cvtsi128_si32(v));
    if constexpr (Bpp == 4) {
        std::memcpy(p, &bits, 4);
    } else {
        const auto low = static_cast<uint16_t>(bits);
        std::memcpy(p, &low, 2);
        if constexpr (Bpp == 3)
            p[2] = static_cast<uint8_t>(bits >> 16);
    }
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

// Pixels other than a row's last are read and written as four bytes: for pixels of fewer bytes,
// the first bytes of the next one too. Reads stay inside the row; a write covers a byte that
// the next pixel's write puts right, and whose filtered value was read before.
template <size_t Bpp> __m128i loadWide(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return _mm_cvtsi32_si128(static_cast<int>(v));
}

void storeWide(uint8_t* p, __m128i v) {
    const auto bits = static_cast<uint32_t>(_mm_cvtsi128_si32(v));
    std::memcpy(p, &bits, 4);
}

__m128i widen(__m128i bytes) {
    return _mm_unpacklo_epi8(bytes, _mm_setzero_si128());
}

__m128i narrow(__m128i words) {
    return _mm_packus_epi16(words, words);
}

__m128i absolute16(__m128i v) {
    return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v));
}

// One Paeth pixel in 16-bit lanes from a, b, c (left, above, above-left) and the filtered bytes.
// With x = a - c and d = b - c the three distances are |d|, |x| and |x + d|: only x waits on the
// pixel on the left, so d and |d| are off the chain that runs from pixel to pixel, and the raw
// pixel stays in 16-bit lanes (wrapped to a byte by a mask) instead of being packed and widened
// again on it.
__m128i paethStep(__m128i a, __m128i b, __m128i c, __m128i filtered) {
    const __m128i d = _mm_sub_epi16(b, c);
    const __m128i pa = absolute16(d);
    const __m128i x = _mm_sub_epi16(a, c);
    const __m128i pb = absolute16(x);
    const __m128i pc = absolute16(_mm_add_epi16(x, d));
    // a unless pa exceeds the smaller of the other two; then b unless pb exceeds pc.
    const __m128i notA = _mm_cmpgt_epi16(pa, _mm_min_epi16(pb, pc));
    const __m128i notB = _mm_cmpgt_epi16(pb, pc);
    const __m128i bOrC = _mm_xor_si128(b, _mm_and_si128(notB, _mm_xor_si128(b, c)));
    const __m128i predictor = _mm_xor_si128(a, _mm_and_si128(notA, _mm_xor_si128(a, bOrC)));
    return _mm_and_si128(_mm_add_epi16(filtered, predictor), _mm_set1_epi16(0xFF));
}

// The filtered pixel after the one at `i`: four bytes while they stay inside the row.
template <size_t Bpp> __m128i nextFiltered(const uint8_t* in, size_t i, size_t count) {
    const size_t next = i + Bpp;
    return widen(next + 4 <= count ? loadWide<Bpp>(in + next) : loadPixel<Bpp>(in + next));
}

template <size_t Bpp>
void unfilterPaeth(const uint8_t* in, const uint8_t* previous, uint8_t* out, size_t count) {
    const size_t last = count - Bpp;
    __m128i a = _mm_setzero_si128();
    __m128i c = a;
    __m128i filtered = widen(loadPixel<Bpp>(in));
    for (size_t i = 0; i < last; i += Bpp) {
        const __m128i b = widen(loadWide<Bpp>(previous + i));
        const __m128i raw = paethStep(a, b, c, filtered);
        filtered = nextFiltered<Bpp>(in, i, count);
        storeWide(out + i, narrow(raw));
        a = raw;
        c = b;
    }
    const __m128i b = widen(loadPixel<Bpp>(previous + last));
    storePixel<Bpp>(out + last, narrow(paethStep(a, b, c, filtered)));
}

// Two Paeth rows at once, the second under the first. Each row's pixels wait on the pixel on
// their left; the second row's pixel needs only the first row's pixel above it, so the two
// chains run side by side.
template <size_t Bpp>
void unfilterPaethPair(const uint8_t* in1, const uint8_t* in2, const uint8_t* previous,
                       uint8_t* out1, uint8_t* out2, size_t count) {
    const size_t last = count - Bpp;
    __m128i a1 = _mm_setzero_si128();
    __m128i c1 = a1, a2 = a1, c2 = a1;
    __m128i filtered1 = widen(loadPixel<Bpp>(in1));
    __m128i filtered2 = widen(loadPixel<Bpp>(in2));
    for (size_t i = 0; i < last; i += Bpp) {
        const __m128i b1 = widen(loadWide<Bpp>(previous + i));
        const __m128i raw1 = paethStep(a1, b1, c1, filtered1);
        const __m128i raw2 = paethStep(a2, raw1, c2, filtered2);
        filtered1 = nextFiltered<Bpp>(in1, i, count);
        filtered2 = nextFiltered<Bpp>(in2, i, count);
        storeWide(out1 + i, narrow(raw1));
        storeWide(out2 + i, narrow(raw2));
        a1 = raw1;
        c1 = b1;
        a2 = raw2;
        c2 = raw1;
    }
    const __m128i b1 = widen(loadPixel<Bpp>(previous + last));
    const __m128i raw1 = paethStep(a1, b1, c1, filtered1);
    storePixel<Bpp>(out1 + last, narrow(raw1));
    storePixel<Bpp>(out2 + last, narrow(paethStep(a2, raw1, c2, filtered2)));
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
        unfilterPaeth<Bpp>(in, previous, out, count);
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
        if (bpp == 3)
            unfilterPaethPair<3>(in1, in2, previous, out1, out2, count);
        else
            unfilterPaethPair<4>(in1, in2, previous, out1, out2, count);
        return true;
    }
#endif
    return unfilterRow(types[0], in1, previous, out1, count, bpp) &&
           unfilterRow(types[1], in2, out1, out2, count, bpp);
}

} // namespace kelvarn::imaging
