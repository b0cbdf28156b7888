// The JPEG and TIFF functions the loader chain calls, defined here so that kelvarn-convert does
// not load libjpeg and libtiff (and libtiff's six compression libraries) at start-up: most
// conversions read BMP or PNG, and loading the two libraries costs more than a millisecond a
// process. Each function loads its library the first time one of them is called and forwards to
// the library's own function.
//
// A library that cannot be loaded ends the process with a message, as the dynamic loader would
// have done at start-up had the program been linked to it.

#include "platform/files/DynamicLibrary.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <jpeglib.h>
#include <tiffio.h>

namespace {

using kelvarn::platform::DynamicLibrary;

[[noreturn]] void unavailable(const char* what) {
    std::fprintf(stderr, "kelvarn-convert: cannot load %s\n", what);
    std::abort();
}

const DynamicLibrary& jpegLibrary() {
    static const std::unique_ptr<DynamicLibrary> library =
        DynamicLibrary::load(KELVARN_JPEG_SONAME);
    if (!library)
        unavailable(KELVARN_JPEG_SONAME);
    return *library;
}

const DynamicLibrary& tiffLibrary() {
    static const std::unique_ptr<DynamicLibrary> library =
        DynamicLibrary::load(KELVARN_TIFF_SONAME);
    if (!library)
        unavailable(KELVARN_TIFF_SONAME);
    return *library;
}

template <typename Function> Function resolve(const DynamicLibrary& library, const char* name) {
    void* address = library.symbol(name);
    if (!address)
        unavailable(name);
    return reinterpret_cast<Function>(address);
}

} // namespace

// The library's function of the same name (and type), looked up once.
#define KELVARN_REAL(LIBRARY, NAME)                                                                \
    static const auto real = resolve<decltype(&NAME)>(LIBRARY(), #NAME)

extern "C" {

jpeg_error_mgr* jpeg_std_error(jpeg_error_mgr* err) {
    KELVARN_REAL(jpegLibrary, jpeg_std_error);
    return real(err);
}

void jpeg_CreateDecompress(j_decompress_ptr cinfo, int version, size_t structsize) {
    KELVARN_REAL(jpegLibrary, jpeg_CreateDecompress);
    real(cinfo, version, structsize);
}

void jpeg_stdio_src(j_decompress_ptr cinfo, FILE* infile) {
    KELVARN_REAL(jpegLibrary, jpeg_stdio_src);
    real(cinfo, infile);
}

int jpeg_read_header(j_decompress_ptr cinfo, boolean require_image) {
    KELVARN_REAL(jpegLibrary, jpeg_read_header);
    return real(cinfo, require_image);
}

void jpeg_calc_output_dimensions(j_decompress_ptr cinfo) {
    KELVARN_REAL(jpegLibrary, jpeg_calc_output_dimensions);
    real(cinfo);
}

boolean jpeg_start_decompress(j_decompress_ptr cinfo) {
    KELVARN_REAL(jpegLibrary, jpeg_start_decompress);
    return real(cinfo);
}

JDIMENSION jpeg_read_scanlines(j_decompress_ptr cinfo, JSAMPARRAY scanlines, JDIMENSION max_lines) {
    KELVARN_REAL(jpegLibrary, jpeg_read_scanlines);
    return real(cinfo, scanlines, max_lines);
}

void jpeg_destroy_decompress(j_decompress_ptr cinfo) {
    KELVARN_REAL(jpegLibrary, jpeg_destroy_decompress);
    real(cinfo);
}

TIFFErrorHandler TIFFSetErrorHandler(TIFFErrorHandler handler) {
    KELVARN_REAL(tiffLibrary, TIFFSetErrorHandler);
    return real(handler);
}

TIFFErrorHandler TIFFSetWarningHandler(TIFFErrorHandler handler) {
    KELVARN_REAL(tiffLibrary, TIFFSetWarningHandler);
    return real(handler);
}

TIFFOpenOptions* TIFFOpenOptionsAlloc(void) {
    KELVARN_REAL(tiffLibrary, TIFFOpenOptionsAlloc);
    return real();
}

void TIFFOpenOptionsFree(TIFFOpenOptions* options) {
    KELVARN_REAL(tiffLibrary, TIFFOpenOptionsFree);
    real(options);
}

void TIFFOpenOptionsSetMaxSingleMemAlloc(TIFFOpenOptions* options, tmsize_t limit) {
    KELVARN_REAL(tiffLibrary, TIFFOpenOptionsSetMaxSingleMemAlloc);
    real(options, limit);
}

TIFF* TIFFOpenExt(const char* name, const char* mode, TIFFOpenOptions* options) {
    KELVARN_REAL(tiffLibrary, TIFFOpenExt);
    return real(name, mode, options);
}

void TIFFClose(TIFF* tif) {
    KELVARN_REAL(tiffLibrary, TIFFClose);
    real(tif);
}

int TIFFGetField(TIFF* tif, uint32_t tag, ...) {
    KELVARN_REAL(tiffLibrary, TIFFVGetField);
    va_list arguments;
    va_start(arguments, tag);
    const int result = real(tif, tag, arguments);
    va_end(arguments);
    return result;
}

int TIFFGetFieldDefaulted(TIFF* tif, uint32_t tag, ...) {
    KELVARN_REAL(tiffLibrary, TIFFVGetFieldDefaulted);
    va_list arguments;
    va_start(arguments, tag);
    const int result = real(tif, tag, arguments);
    va_end(arguments);
    return result;
}

int TIFFFileno(TIFF* tif) {
    KELVARN_REAL(tiffLibrary, TIFFFileno);
    return real(tif);
}

int TIFFIsTiled(TIFF* tif) {
    KELVARN_REAL(tiffLibrary, TIFFIsTiled);
    return real(tif);
}

uint32_t TIFFNumberOfStrips(TIFF* tif) {
    KELVARN_REAL(tiffLibrary, TIFFNumberOfStrips);
    return real(tif);
}

uint32_t TIFFNumberOfTiles(TIFF* tif) {
    KELVARN_REAL(tiffLibrary, TIFFNumberOfTiles);
    return real(tif);
}

uint64_t TIFFGetStrileOffsetWithErr(TIFF* tif, uint32_t strile, int* error) {
    KELVARN_REAL(tiffLibrary, TIFFGetStrileOffsetWithErr);
    return real(tif, strile, error);
}

uint64_t TIFFGetStrileByteCountWithErr(TIFF* tif, uint32_t strile, int* error) {
    KELVARN_REAL(tiffLibrary, TIFFGetStrileByteCountWithErr);
    return real(tif, strile, error);
}

int TIFFReadRGBAImageOriented(TIFF* tif, uint32_t width, uint32_t height, uint32_t* raster,
                              int orientation, int stop) {
    KELVARN_REAL(tiffLibrary, TIFFReadRGBAImageOriented);
    return real(tif, width, height, raster, orientation, stop);
}

} // extern "C"
