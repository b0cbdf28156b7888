#pragma once
// Test pictures made from code: JPEG and TIFF files through libjpeg and libtiff, BMP, PCX and
// Photo CD files byte by byte. Shared by the test suites and the fuzz seed generator; PNG files
// are in PngFiles.h.

#include "tests/support/FileBytes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kelvarn::testing {

// A picture whose channels differ from each other and along both axes, so that swapped
// channels, flipped rows or shifted columns show.
Bytes gradient(int width, int height, int channels);

// `components`: 1 grey, 3 RGB, 4 CMYK (`ycck` stores the four components as YCCK).
// `scanPerComponent` writes a sequential file with one scan per component, not interleaved.
bool writeJpeg(const std::string& path, int width, int height, int components, const Bytes& samples,
               bool progressive = false, bool ycck = false, bool scanPerComponent = false);

enum class TiffKind { Rgb, Rgba, Grey, Palette, Bilevel };

struct TiffPage {
    int width = 0;
    int height = 0;
    TiffKind kind = TiffKind::Rgb;
    uint16_t compression = 1;  // COMPRESSION_NONE
    Bytes samples;             // rows top-down; bilevel: one byte per pixel, 0 or 1
    std::vector<uint16_t> map; // palette: 3 x 256 entries (red, green, blue), 16 bits each
    uint32_t rowsPerStrip = 0; // 0: libtiff's default
};

bool writeTiff(const std::string& path, const std::vector<TiffPage>& pages);

struct PcxHeader {
    uint16_t xmin = 0, ymin = 0, xmax = 0, ymax = 0;
    uint8_t bitsPerPlane = 8;
    uint8_t planes = 1;
    uint16_t bytesPerLine = 0;
};

Bytes pcxHeader(const PcxHeader& header);
// Run-length encodes one scanline the way PCX writers do (runs of up to 63, bytes from 0xC0 up
// always as runs).
Bytes pcxEncode(const Bytes& scanline);
// 8 bits per pixel, palette of 256 colours after a 0x0C byte; scanlines padded to an even
// length with 0xEE bytes (which a reader must drop).
Bytes pcx8(int width, int height, const Bytes& indexes, const Bytes& palette768);
// 24 bits per pixel in three planes (red, green, blue) per scanline, padded like pcx8.
Bytes pcx24(int width, int height, const Bytes& rgb);

// A Photo CD image pack of `size` bytes with the 768 x 512 base picture at 0x30000 whose every
// pixel pair shares (luma, c1, c2); with `signature` "PCD_IPI" stands at 0x800.
Bytes photoCd(bool signature, uint8_t luma, uint8_t c1, uint8_t c2, size_t size = 0x100000);

enum class BmpForm { Core, Info, V5 };

struct BmpLayout {
    BmpForm form = BmpForm::Info;
    char second = 'M'; // "BM", or "BA" for an array of bitmaps
    bool topDown = false;
    uint16_t bits = 24;
    uint32_t compression = 0;
    uint32_t gap = 0; // bytes between the header and the pixel data
};

// A bitmap file of R, G, B samples laid out as asked (by default bottom-up, 24 bits, with a
// 40-byte information header). Rows of other bit counts hold the right number of 0x5A bytes.
Bytes bmpFile(int width, int height, const Bytes& rgb, const BmpLayout& layout = {});
// 8 bits with a grey 256-entry colour table; `minimumSize` pads the file with zero bytes.
Bytes bmp8(int width, int height, size_t minimumSize = 0);

} // namespace kelvarn::testing
