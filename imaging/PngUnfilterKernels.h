#pragma once
// The vector kernels of PNG unfiltering, shared by two translation units: one built for the
// baseline instruction set, one for SSE4.1 (PngUnfilterSse41.cpp), chosen when the program
// starts. Everything here has internal linkage, so that each unit keeps the code built for its
// own instructions.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <emmintrin.h>

namespace kelvarn::imaging {
namespace {

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

// Pixels other than a row's last are read and written as four bytes: for pixels of fewer bytes,
// the first bytes of the next one too. Reads stay inside the row; a write covers a byte that
// the next pixel's write puts right, and whose filtered value was read before.
__m128i loadWide(const uint8_t* p) {
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

// The two operations SSE4.1 has single instructions for, in baseline instructions.
struct BaselineOps {
    static __m128i absolute16(__m128i v) {
        return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v));
    }
    // Per byte: `ifSet` where `mask` is all ones, `ifClear` where it is zero.
    static __m128i select(__m128i mask, __m128i ifSet, __m128i ifClear) {
        return _mm_xor_si128(ifClear, _mm_and_si128(mask, _mm_xor_si128(ifClear, ifSet)));
    }
};

// One Paeth pixel in 16-bit lanes from a, b, c (left, above, above-left) and the filtered bytes.
// With x = a - c and d = b - c the three distances are |d|, |x| and |x + d|: only x waits on the
// pixel on the left, so d and |d| are off the chain that runs from pixel to pixel, and the raw
// pixel stays in 16-bit lanes (wrapped to a byte by a mask) instead of being packed and widened
// again on it.
template <class Ops> __m128i paethStep(__m128i a, __m128i b, __m128i c, __m128i filtered) {
    const __m128i d = _mm_sub_epi16(b, c);
    const __m128i pa = Ops::absolute16(d);
    const __m128i x = _mm_sub_epi16(a, c);
    const __m128i pb = Ops::absolute16(x);
    const __m128i pc = Ops::absolute16(_mm_add_epi16(x, d));
    // a unless pa exceeds the smaller of the other two; then b unless pb exceeds pc.
    const __m128i notA = _mm_cmpgt_epi16(pa, _mm_min_epi16(pb, pc));
    const __m128i notB = _mm_cmpgt_epi16(pb, pc);
    const __m128i bOrC = Ops::select(notB, c, b);
    const __m128i predictor = Ops::select(notA, bOrC, a);
    return _mm_and_si128(_mm_add_epi16(filtered, predictor), _mm_set1_epi16(0xFF));
}

// The filtered pixel after the one at `i`: four bytes while they stay inside the row.
template <size_t Bpp> __m128i nextFiltered(const uint8_t* in, size_t i, size_t count) {
    const size_t next = i + Bpp;
    return widen(next + 4 <= count ? loadWide(in + next) : loadPixel<Bpp>(in + next));
}

template <class Ops, size_t Bpp>
void unfilterPaeth(const uint8_t* in, const uint8_t* previous, uint8_t* out, size_t count) {
    const size_t last = count - Bpp;
    __m128i a = _mm_setzero_si128();
    __m128i c = a;
    __m128i filtered = widen(loadPixel<Bpp>(in));
    for (size_t i = 0; i < last; i += Bpp) {
        const __m128i b = widen(loadWide(previous + i));
        const __m128i raw = paethStep<Ops>(a, b, c, filtered);
        filtered = nextFiltered<Bpp>(in, i, count);
        storeWide(out + i, narrow(raw));
        a = raw;
        c = b;
    }
    const __m128i b = widen(loadPixel<Bpp>(previous + last));
    storePixel<Bpp>(out + last, narrow(paethStep<Ops>(a, b, c, filtered)));
}

// Two Paeth rows at once, the second under the first. Each row's pixels wait on the pixel on
// their left; the second row's pixel needs only the first row's pixel above it, so the two
// chains run side by side.
template <class Ops, size_t Bpp>
void unfilterPaethPair(const uint8_t* in1, const uint8_t* in2, const uint8_t* previous,
                       uint8_t* out1, uint8_t* out2, size_t count) {
    const size_t last = count - Bpp;
    __m128i a1 = _mm_setzero_si128();
    __m128i c1 = a1, a2 = a1, c2 = a1;
    __m128i filtered1 = widen(loadPixel<Bpp>(in1));
    __m128i filtered2 = widen(loadPixel<Bpp>(in2));
    for (size_t i = 0; i < last; i += Bpp) {
        const __m128i b1 = widen(loadWide(previous + i));
        const __m128i raw1 = paethStep<Ops>(a1, b1, c1, filtered1);
        const __m128i raw2 = paethStep<Ops>(a2, raw1, c2, filtered2);
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
    const __m128i raw1 = paethStep<Ops>(a1, b1, c1, filtered1);
    storePixel<Bpp>(out1 + last, narrow(raw1));
    storePixel<Bpp>(out2 + last, narrow(paethStep<Ops>(a2, raw1, c2, filtered2)));
}

} // namespace

// Paeth rows of 3- and 4-byte pixels built for SSE4.1 (absolute values and blends in one
// instruction each); call only where available() says the processor has it.
namespace sse41 {
bool available();
void unfilterPaeth3(const uint8_t* in, const uint8_t* previous, uint8_t* out, size_t count);
void unfilterPaeth4(const uint8_t* in, const uint8_t* previous, uint8_t* out, size_t count);
void unfilterPaethPair3(const uint8_t* in1, const uint8_t* in2, const uint8_t* previous,
                        uint8_t* out1, uint8_t* out2, size_t count);
void unfilterPaethPair4(const uint8_t* in1, const uint8_t* in2, const uint8_t* previous,
                        uint8_t* out1, uint8_t* out2, size_t count);
} // namespace sse41

} // namespace kelvarn::imaging
