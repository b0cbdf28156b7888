#pragma once
// The chunk layer of the own PNG reader: reads a file's chunks from its signature to IEND,
// checks every CRC and gathers the IDAT payloads into one buffer. It takes only files whose
// every chunk it can judge the way libpng judges it without a warning; anything else makes it
// decline, and the file is left to libpng.

#include "imaging/HeapBlock.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace kelvarn::imaging {

struct PngChunkScan {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t bitDepth = 0;
    uint8_t colourType = 0;
    uint8_t interlaceMethod = 0;
    // PLTE's entries as red, green, blue (palette files only).
    std::array<uint8_t, 3 * 256> palette{};
    uint32_t paletteCount = 0;
    // The IDAT payloads in file order, `idatBytes` of them.
    HeapBlock idat;
    size_t idatBytes = 0;
};

// Reads `stream` from its start. True when the file is one the own reader takes: a PNG of 8-bit
// grey, grey with alpha, RGB or RGBA, or 1- to 8-bit grey or palette, interlaced or not; every
// CRC right; IHDR first, then PLTE (palette files only, at most 2^depth entries), tRNS (grey or
// palette), pHYs, tIME and text chunks, one run of IDAT, then only tIME and text chunks up to an
// empty IEND. Chunks libpng reads for the picture's colours (gAMA, sRGB, iCCP, cHRM, sBIT, ...)
// and any other chunk make it decline.
bool scanPngChunks(std::FILE* stream, PngChunkScan& scan);

} // namespace kelvarn::imaging
