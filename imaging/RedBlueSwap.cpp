#include "imaging/RedBlueSwap.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define KELVARN_SWAP_SHUFFLE 1
#endif

namespace kelvarn::imaging {

namespace {

void swapBytewise(const uint8_t* from, uint8_t* to, size_t pixels) {
    for (size_t i = 0; i < pixels; ++i, from += 3, to += 3) {
        const uint8_t first = from[0];
        to[0] = from[2];
        to[1] = from[1];
        to[2] = first;
    }
}

#ifdef KELVARN_SWAP_SHUFFLE

// Five pixels per 16-byte register; its last byte, the next pixel's first, is copied as it is
// and written right by the next step (which read it before, when `to` is `from`).
__attribute__((target("ssse3"))) void swapShuffled(const uint8_t* from, uint8_t* to,
                                                   size_t pixels) {
    const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
    size_t i = 0;
    // Six pixels left: the 16 bytes read and written stay inside the 18.
    for (; i + 6 <= pixels; i += 5) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 3 * i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 3 * i), _mm_shuffle_epi8(v, order));
    }
    swapBytewise(from + 3 * i, to + 3 * i, pixels - i);
}

const bool kHasShuffle = __builtin_cpu_supports("ssse3");

#endif

} // namespace

void swapRedBlue(const uint8_t* from, uint8_t* to, size_t pixels) {
#ifdef KELVARN_SWAP_SHUFFLE
    if (kHasShuffle) {
        swapShuffled(from, to, pixels);
        return;
    }
#endif
    swapBytewise(from, to, pixels);
}

} // namespace kelvarn::imaging
