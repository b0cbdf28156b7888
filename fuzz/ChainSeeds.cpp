// Writes the seed corpora of the jpeg, tiff, pcx, photo_cd and load_image_file fuzz targets
// into the folder given (fuzz/corpus): small pictures made here from code, one per layout the
// readers distinguish. Run again after changing this program and commit the result.

#include "imaging/ImageRecord.h"
#include "imaging/PngCodec.h"
#include "tests/support/PictureFiles.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include <tiffio.h>

using namespace kelvarn;
using testing::Bytes;

namespace {

std::string g_root;
int g_written = 0;

std::string seed(const std::string& target, const std::string& name) {
    std::filesystem::create_directories(g_root + "/" + target);
    ++g_written;
    return g_root + "/" + target + "/" + name;
}

void put(const std::string& target, const std::string& name, const Bytes& bytes) {
    testing::writeFile(seed(target, name), bytes);
}

testing::TiffPage tiffPage(int width, int height, testing::TiffKind kind, uint16_t compression,
                           int channels) {
    testing::TiffPage page;
    page.width = width;
    page.height = height;
    page.kind = kind;
    page.compression = compression;
    page.samples = testing::gradient(width, height, channels);
    if (kind == testing::TiffKind::Bilevel)
        for (uint8_t& b : page.samples)
            b &= 1;
    if (kind == testing::TiffKind::Palette) {
        page.map.resize(768);
        for (size_t i = 0; i < 768; ++i)
            page.map[i] = static_cast<uint16_t>(i * 85);
    }
    page.rowsPerStrip = 2;
    return page;
}

void jpegSeeds() {
    testing::writeJpeg(seed("jpeg", "rgb.jpg"), 16, 8, 3, testing::gradient(16, 8, 3));
    testing::writeJpeg(seed("jpeg", "grey.jpg"), 9, 7, 1, testing::gradient(9, 7, 1));
    testing::writeJpeg(seed("jpeg", "progressive.jpg"), 16, 16, 3, testing::gradient(16, 16, 3),
                       true);
    testing::writeJpeg(seed("jpeg", "cmyk.jpg"), 8, 8, 4, testing::gradient(8, 8, 4));
    testing::writeJpeg(seed("jpeg", "ycck.jpg"), 8, 8, 4, testing::gradient(8, 8, 4), false, true);
}

void tiffSeeds() {
    using testing::TiffKind;
    const struct {
        const char* name;
        TiffKind kind;
        uint16_t compression;
        int channels;
    } pages[] = {
        {"rgb.tif", TiffKind::Rgb, COMPRESSION_NONE, 3},
        {"rgb_lzw.tif", TiffKind::Rgb, COMPRESSION_LZW, 3},
        {"rgb_deflate.tif", TiffKind::Rgb, COMPRESSION_ADOBE_DEFLATE, 3},
        {"rgba_packbits.tif", TiffKind::Rgba, COMPRESSION_PACKBITS, 4},
        {"grey.tif", TiffKind::Grey, COMPRESSION_NONE, 1},
        {"palette_lzw.tif", TiffKind::Palette, COMPRESSION_LZW, 1},
        {"bilevel_g4.tif", TiffKind::Bilevel, COMPRESSION_CCITTFAX4, 1},
        {"bilevel.tif", TiffKind::Bilevel, COMPRESSION_NONE, 1},
    };
    for (const auto& p : pages)
        testing::writeTiff(seed("tiff", p.name),
                           {tiffPage(7, 5, p.kind, p.compression, p.channels)});
    testing::writeTiff(seed("tiff", "two_images.tif"),
                       {tiffPage(4, 3, TiffKind::Rgb, COMPRESSION_NONE, 3),
                        tiffPage(3, 2, TiffKind::Grey, COMPRESSION_NONE, 1)});
}

Bytes palette() {
    Bytes p(768);
    for (size_t i = 0; i < p.size(); ++i)
        p[i] = static_cast<uint8_t>(i);
    return p;
}

void pcxSeeds() {
    put("pcx", "indexed_even.pcx", testing::pcx8(6, 4, testing::gradient(6, 4, 1), palette()));
    put("pcx", "indexed_odd.pcx", testing::pcx8(7, 3, testing::gradient(7, 3, 1), palette()));
    put("pcx", "rgb.pcx", testing::pcx24(5, 4, testing::gradient(5, 4, 3)));
    // One plane of 24 bits, and a zero-length run followed by literals.
    testing::PcxHeader h;
    h.xmax = 3;
    h.ymax = 1;
    h.bitsPerPlane = 24;
    h.bytesPerLine = 12;
    Bytes onePlane = testing::pcxHeader(h);
    for (int i = 0; i < 2; ++i)
        onePlane.insert(onePlane.end(), {0xC0, 0x55, 0xCC, 0x10});
    put("pcx", "one_plane_24.pcx", onePlane);
}

void photoCdSeeds() {
    // Odd first byte: the fuzz target pads the file to the size the reader needs.
    Bytes pack(0x900, 0);
    pack[0] = 0x01;
    std::memcpy(pack.data() + 0x800, "PCD_IPI", 7);
    put("photo_cd", "resolution2.pcd", pack);
    pack[1] = 0; // resolution 0
    put("photo_cd", "resolution0.pcd", pack);
    pack[0] = 0x02; // written as it is: too small
    put("photo_cd", "short.pcd", pack);
}

void wholeChainSeeds() {
    const Bytes rgb = testing::gradient(5, 3, 3);
    testing::writeJpeg(seed("load_image_file", "a.jpg"), 8, 8, 3, testing::gradient(8, 8, 3));
    put("load_image_file", "a.bmp", testing::bmpFile(5, 3, rgb));
    put("load_image_file", "grey.bmp", testing::bmp8(4, 4));
    testing::writeTiff(seed("load_image_file", "a.tif"),
                       {tiffPage(5, 3, testing::TiffKind::Rgb, COMPRESSION_LZW, 3)});
    put("load_image_file", "a.pcx", testing::pcx24(5, 3, rgb));
    imaging::ImageRecord picture;
    if (picture.create(5, 3, 24, 0)) {
        std::memcpy(picture.pixels(), rgb.data(), rgb.size());
        imaging::PngCodec png;
        if (png.openWrite(seed("load_image_file", "a.png").c_str(), picture, 24, 0))
            png.encode();
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: chain_seeds CORPUS_FOLDER\n", stderr);
        return 2;
    }
    g_root = argv[1];
    jpegSeeds();
    tiffSeeds();
    pcxSeeds();
    photoCdSeeds();
    wholeChainSeeds();
    std::printf("wrote %d seeds\n", g_written);
    return 0;
}
