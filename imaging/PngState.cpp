#include "imaging/PngState.h"

#include <csetjmp>
#include <cstdio>

namespace kelvarn::imaging {

namespace {

// Widest row libpng may hold for the files the reader accepts (four 8-bit samples per pixel)
// stays below 2^31 bytes; the picture as a whole is checked by the codec.
constexpr png_uint_32 kMaxWidth = png_uint_32{1} << 29;
constexpr png_uint_32 kMaxHeight = 0x7FFFFFFF;
// Ancillary chunks the reader never uses are not buffered beyond this.
constexpr png_alloc_size_t kMaxChunkBytes = 8000000;

// libpng's error function must not return: go back to the shim that set the jump, keeping the
// message for the codec's refusal.
[[noreturn]] void onError(png_structp png, png_const_charp message) {
    if (auto* kept = static_cast<char*>(png_get_error_ptr(png)))
        std::snprintf(kept, PngState::kErrorBytes, "%s", message ? message : "");
    png_longjmp(png, 1);
}
void onWarning(png_structp, png_const_charp) {}

void readData(png_structp png, png_bytep data, size_t length) {
    auto* stream = static_cast<std::FILE*>(png_get_io_ptr(png));
    if (length > 0 && std::fread(data, length, 1, stream) != 1)
        png_error(png, "reading png image error");
}

// Runs `body` under the error jump. This frame and the body's hold only trivially destructible
// values: a longjmp out of libpng skips nothing that needs destroying.
using GuardedBody = void (*)(png_structp png, png_infop info, void* context);

int runGuarded(png_structp png, png_infop info, GuardedBody body, void* context) {
    if (setjmp(png_jmpbuf(png)))
        return 0;
    body(png, info, context);
    return 1;
}

void readInfoBody(png_structp png, png_infop info, void* context) {
    auto* header = static_cast<PngHeader*>(context);
    png_read_info(png, info);
    png_get_IHDR(png, info, &header->width, &header->height, &header->bitDepth, &header->colourType,
                 &header->interlaceMethod, &header->compressionMethod, &header->filterMethod);
}

void setReadTransformsBody(png_structp png, png_infop info, void* context) {
    auto* setup = static_cast<PngReadSetup*>(context);
    png_set_packing(png);
    if (setup->expandGrey)
        png_set_expand(png);
    // Grey with alpha (colour type 4, or low-depth grey whose tRNS the expansion turns into
    // alpha) would give two bytes per pixel for a one-byte row.
    if (setup->stripAlpha)
        png_set_strip_alpha(png);
    png_set_gamma(png, setup->screenGamma, setup->fileGamma);
    png_set_swap_alpha(png);
    setup->passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    setup->rowBytes = png_get_rowbytes(png, info);
}

void readRowsBody(png_structp png, png_infop, void* context) {
    const auto* loop = static_cast<const PngRowLoop*>(context);
    // Interlaced files get the same full rows once per pass; libpng fills in each pass's pixels.
    for (int pass = 0; pass < loop->passes; ++pass)
        for (png_uint_32 i = 0; i < loop->height; ++i) {
            png_read_rows(png, &loop->rows[i], nullptr, 1);
            reportProgress(loop->progress, kProgressReading, static_cast<int32_t>(i),
                           static_cast<int32_t>(loop->height));
        }
    png_read_end(png, nullptr);
}

} // namespace

bool PngState::createRead(std::FILE* stream) {
    destroy();
    m_error[0] = '\0';
    m_png = png_create_read_struct(PNG_LIBPNG_VER_STRING, m_error, onError, onWarning);
    if (!m_png)
        return false;
    m_info = png_create_info_struct(m_png);
    if (!m_info) {
        destroy();
        return false;
    }
    png_set_user_limits(m_png, kMaxWidth, kMaxHeight);
    png_set_chunk_malloc_max(m_png, kMaxChunkBytes);
    // libpng reads these chunks whole into memory of the length their header claims, whatever
    // its limits say, so a 100-byte file claiming a 2 GB text chunk takes 2 GB before the read
    // fails. The reader uses none of them: they are skipped as unknown chunks, which costs
    // nothing but reading past them.
    static constexpr png_byte kSkipped[] = "tEXt\0zTXt\0iTXt\0sPLT\0eXIf\0pCAL\0sCAL\0";
    png_set_keep_unknown_chunks(m_png, PNG_HANDLE_CHUNK_NEVER, kSkipped,
                                static_cast<int>(sizeof kSkipped / 5));
    png_set_read_fn(m_png, stream, readData);
    return true;
}

void PngState::destroy() {
    if (m_png)
        png_destroy_read_struct(&m_png, m_info ? &m_info : nullptr, nullptr);
    m_png = nullptr;
    m_info = nullptr;
}

namespace pngshim {

int readInfo(png_structp png, png_infop info, PngHeader* header) {
    return runGuarded(png, info, readInfoBody, header);
}

int setReadTransforms(png_structp png, png_infop info, PngReadSetup* setup) {
    return runGuarded(png, info, setReadTransformsBody, setup);
}

int readRows(png_structp png, const PngRowLoop* loop) {
    return runGuarded(png, nullptr, readRowsBody, const_cast<PngRowLoop*>(loop));
}

} // namespace pngshim

} // namespace kelvarn::imaging
