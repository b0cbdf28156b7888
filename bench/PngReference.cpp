// The benchmark's PNG references, through libpng:
//
//   kelvarn_png_reference same-pixels SOURCE_DIR FILE...
//       every FILE holds the same 8-bit RGB pixels as SOURCE_DIR/<its name>.png
//   kelvarn_png_reference sizes LEVEL... -- FILE...
//       writes the pictures of the input PNGs as Adam7 8-bit RGB twice over: with libpng's
//       default settings (the writer the converter used to be built on) and with the
//       converter's own writer at each LEVEL; prints the total bytes and CPU seconds of each
//
// One line per result, whitespace-separated.
#include "imaging/PngEncoder.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Picture {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgb;
};

bool readRgb(const std::string& path, Picture& picture) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    image.format = PNG_FORMAT_RGB;
    picture.width = image.width;
    picture.height = image.height;
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    const bool ok = png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return ok;
}

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

void countBytes(png_structp png, png_bytep, size_t length) {
    *static_cast<size_t*>(png_get_io_ptr(png)) += length;
}
void noFlush(png_structp) {}

// Bytes of the picture written by libpng with its defaults, Adam7, nothing but the picture.
size_t libpngDefaultSize(const Picture& picture) {
    size_t total = 0;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return 0;
    }
    png_set_write_fn(png, &total, countBytes, noFlush);
    png_set_IHDR(png, info, picture.width, picture.height, 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_ADAM7, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass)
        for (uint32_t y = 0; y < picture.height; ++y)
            png_write_row(png, picture.rgb.data() + static_cast<size_t>(y) * picture.width * 3);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return total;
}

size_t ownWriterSize(const Picture& picture, int level) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::tmpfile(), std::fclose);
    if (!file)
        return 0;
    using namespace kelvarn::imaging;
    PngPicture png{picture.rgb.data(),
                   size_t{picture.width} * 3,
                   picture.width,
                   picture.height,
                   kPngColourRgb,
                   nullptr,
                   0,
                   level};
    if (writePng(file.get(), png) != PngWriteResult::Written || std::fflush(file.get()) != 0)
        return 0;
    return static_cast<size_t>(std::ftell(file.get()));
}

std::string stem(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

int samePixels(const std::string& sourceDir, int count, char** files) {
    int failures = 0;
    for (int i = 0; i < count; ++i) {
        Picture source;
        Picture output;
        const std::string sourcePath = sourceDir + "/" + stem(files[i]) + ".png";
        const bool same = readRgb(sourcePath, source) && readRgb(files[i], output) &&
                          source.width == output.width && source.height == output.height &&
                          source.rgb == output.rgb;
        std::printf("%s %s\n", same ? "ok" : "FAIL", files[i]);
        failures += same ? 0 : 1;
    }
    return failures == 0 ? 0 : 1;
}

int sizes(const std::vector<int>& levels, int count, char** files) {
    size_t libpngTotal = 0;
    double libpngSeconds = 0;
    std::vector<size_t> ownTotal(levels.size(), 0);
    std::vector<double> ownSeconds(levels.size(), 0);
    for (int i = 0; i < count; ++i) {
        Picture picture;
        if (!readRgb(files[i], picture)) {
            std::printf("FAIL %s\n", files[i]);
            return 1;
        }
        double start = cpuSeconds();
        const size_t reference = libpngDefaultSize(picture);
        libpngSeconds += cpuSeconds() - start;
        libpngTotal += reference;
        for (size_t l = 0; l < levels.size(); ++l) {
            start = cpuSeconds();
            const size_t own = ownWriterSize(picture, levels[l]);
            ownSeconds[l] += cpuSeconds() - start;
            ownTotal[l] += own;
            if (own == 0 || reference == 0) {
                std::printf("FAIL %s\n", files[i]);
                return 1;
            }
        }
    }
    std::printf("libpng-default %zu %.3f\n", libpngTotal, libpngSeconds);
    for (size_t l = 0; l < levels.size(); ++l)
        std::printf("own-level-%d %zu %.3f\n", levels[l], ownTotal[l], ownSeconds[l]);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "same-pixels") == 0)
        return samePixels(argv[2], argc - 3, argv + 3);
    if (argc >= 4 && std::strcmp(argv[1], "sizes") == 0) {
        std::vector<int> levels;
        int at = 2;
        for (; at < argc && std::strcmp(argv[at], "--") != 0; ++at)
            levels.push_back(std::atoi(argv[at]));
        if (at < argc)
            return sizes(levels, argc - at - 1, argv + at + 1);
    }
    std::fputs("usage: kelvarn_png_reference same-pixels SOURCE_DIR FILE... | "
               "sizes LEVEL... -- FILE...\n",
               stderr);
    return 2;
}
