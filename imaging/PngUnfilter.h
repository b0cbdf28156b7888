#pragma once
// The reverse of the PNG row filters, for the own reader: each filtered byte plus its predictor
// (from the byte on the left, the byte above, or both) gives back the raw byte.

#include <cstddef>
#include <cstdint>

namespace kelvarn::imaging {

enum PngFilterType : uint8_t {
    kPngFilterNone = 0,
    kPngFilterSub = 1,
    kPngFilterUp = 2,
    kPngFilterAverage = 3,
    kPngFilterPaeth = 4,
};

// Writes to `out` the raw bytes of the row whose `count` filtered bytes are `in` (`out` may be
// `in`, never overlap it otherwise). `previous` is the raw row above in the same pass, all zero
// for a pass's first row; `bpp` the pixel's byte count (1 to 8). False, with nothing written,
// for a type above 4. Pixels of 2 to 4 bytes, and Up at every size, run on vector registers.
bool unfilterRow(uint8_t type, const uint8_t* in, const uint8_t* previous, uint8_t* out,
                 size_t count, size_t bpp);

// Two rows, the second right under the first: types[0] and in1 give out1 under `previous`,
// types[1] and in2 give out2 under out1. Two Paeth rows run side by side. False when a type is
// above 4 (the first row may then be written).
bool unfilterRowPair(const uint8_t* types, const uint8_t* in1, const uint8_t* in2,
                     const uint8_t* previous, uint8_t* out1, uint8_t* out2, size_t count,
                     size_t bpp);

// The same one byte at a time, straight from the byte rules: the reference of the vector code.
bool unfilterRowScalar(uint8_t type, const uint8_t* in, const uint8_t* previous, uint8_t* out,
                       size_t count, size_t bpp);

// Whether Paeth rows may take the SSE4.1 code where the processor has it (allowed unless turned
// off), so that tests can check the baseline code on any processor.
void allowSse41Unfiltering(bool allowed);

} // namespace kelvarn::imaging
