#pragma once
// Ownership of libpng's read structure with its info structure, and the thin shims
// that run libpng calls under its error jump. A shim's frame holds only trivially destructible
// values, so a jump back out of libpng skips no destructor; each returns 1 when libpng finished
// without error and 0 when its error function jumped back.

#include "imaging/Progress.h"

#include <png.h>

#include <cstdint>
#include <cstdio>

namespace kelvarn::imaging {

class PngState {
public:
    static constexpr size_t kErrorBytes = 96;

    PngState() = default;
    PngState(const PngState&) = delete;
    PngState& operator=(const PngState&) = delete;
    ~PngState() { destroy(); }

    // Structures whose errors jump back to the running shim and whose warnings are dropped;
    // false (with nothing left) when libpng cannot make them.
    bool createRead(std::FILE* stream);
    void destroy();

    png_structp png() const { return m_png; }
    png_infop info() const { return m_info; }
    bool isOpen() const { return m_png != nullptr; }
    // libpng's message of the last error that jumped back (empty when none did since
    // createRead); kept after destroy.
    const char* lastError() const { return m_error; }

private:
    png_structp m_png = nullptr;
    png_infop m_info = nullptr;
    char m_error[kErrorBytes] = {};
};

struct PngHeader {
    png_uint_32 width;
    png_uint_32 height;
    int bitDepth;
    int colourType;
    int interlaceMethod;
    int compressionMethod;
    int filterMethod;
};

struct PngReadSetup {
    bool expandGrey; // low-depth grey to 8 bits (and tRNS to an alpha sample)
    bool stripAlpha; // grey rows never carry an alpha sample
    double screenGamma;
    double fileGamma;
    // Filled by the shim:
    int passes;
    size_t rowBytes;
};

struct PngRowLoop {
    png_bytepp rows;
    png_uint_32 height;
    int passes;
    ProgressCallback progress;
};

namespace pngshim {

int readInfo(png_structp png, png_infop info, PngHeader* header);
int setReadTransforms(png_structp png, png_infop info, PngReadSetup* setup);
int readRows(png_structp png, const PngRowLoop* loop);

} // namespace pngshim

} // namespace kelvarn::imaging
