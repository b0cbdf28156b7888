// Built with SSE4.1 (see imaging/CMakeLists.txt); reached only when the processor has it.
#include "imaging/PngUnfilterKernels.h"

#include <smmintrin.h>

namespace kelvarn::imaging::sse41 {

namespace {

struct Sse41Ops {
    static __m128i absolute16(__m128i v) { return _mm_abs_epi16(v); }
    static __m128i select(__m128i mask, __m128i ifSet, __m128i ifClear) {
        return _mm_blendv_epi8(ifClear, ifSet, mask);
    }
};

} // namespace

bool available() {
    return __builtin_cpu_supports("sse4.1");
}

void unfilterPaeth3(const uint8_t* in, const uint8_t* previous, uint8_t* out, size_t count) {
    unfilterPaeth<Sse41Ops, 3>(in, previous, out, count);
}

void unfilterPaeth4(const uint8_t* in, const uint8_t* previous, uint8_t* out, size_t count) {
    unfilterPaeth<Sse41Ops, 4>(in, previous, out, count);
}

void unfilterPaethPair3(const uint8_t* in1, const uint8_t* in2, const uint8_t* previous,
                        uint8_t* out1, uint8_t* out2, size_t count) {
    unfilterPaethPair<Sse41Ops, 3>(in1, in2, previous, out1, out2, count);
}

void unfilterPaethPair4(const uint8_t* in1, const uint8_t* in2, const uint8_t* previous,
                        uint8_t* out1, uint8_t* out2, size_t count) {
    unfilterPaethPair<Sse41Ops, 4>(in1, in2, previous, out1, out2, count);
}

} // namespace kelvarn::imaging::sse41
