// Writes the converter's icon as a PNG file (RGBA, 32x32) for the desktop entry that
// scripts/install-desktop.sh installs. Run by the build.

#include "app/template/ConverterIcon.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// libpng reports errors by longjmp: this frame holds only trivially destructible locals.
bool writePng(std::FILE* out, const png_byte* rgba, int size) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, out);
    png_set_IHDR(png, info, static_cast<png_uint_32>(size), static_cast<png_uint_32>(size), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < size; ++y)
        png_write_row(png, rgba + static_cast<size_t>(y) * static_cast<size_t>(size) * 4);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    const std::vector<uint32_t> pixels = kelvarn::app::converterIconPixels();
    std::vector<png_byte> rgba;
    for (const uint32_t p : pixels)
        for (const int shift : {16, 8, 0, 24})
            rgba.push_back(static_cast<png_byte>(p >> shift));
    std::unique_ptr<std::FILE, FileCloser> out(std::fopen(argv[1], "wb"));
    if (!out || !writePng(out.get(), rgba.data(), 32)) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
