#include "tests/support/PictureFiles.h"

#include "platform/files/LittleEndian.h"

#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <tiffio.h>

namespace kelvarn::testing {

Bytes gradient(int width, int height, int channels) {
    Bytes out(static_cast<size_t>(width) * height * channels);
    size_t i = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c)
                out[i++] = static_cast<uint8_t>((c == 0   ? x * 255 / (width > 1 ? width - 1 : 1)
                                                 : c == 1 ? y * 255 / (height > 1 ? height - 1 : 1)
                                                          : 40 + 60 * c) &
                                                0xFF);
    return out;
}

bool writeJpeg(const std::string& path, int width, int height, int components, const Bytes& samples,
               bool progressive, bool ycck, bool scanPerComponent) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    jpeg_stdio_dest(&c, file);
    c.image_width = static_cast<JDIMENSION>(width);
    c.image_height = static_cast<JDIMENSION>(height);
    c.input_components = components;
    c.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&c);
    if (ycck)
        jpeg_set_colorspace(&c, JCS_YCCK);
    jpeg_set_quality(&c, 100, TRUE);
    // Full-resolution chroma keeps colours close enough to compare.
    for (int i = 0; i < c.num_components; ++i)
        c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
    if (progressive)
        jpeg_simple_progression(&c);
    std::vector<jpeg_scan_info> scans(scanPerComponent ? c.num_components : 0);
    for (int i = 0; i < static_cast<int>(scans.size()); ++i) {
        scans[i].comps_in_scan = 1;
        scans[i].component_index[0] = i;
        scans[i].Se = 63;
    }
    if (!scans.empty()) {
        c.scan_info = scans.data();
        c.num_scans = static_cast<int>(scans.size());
    }
    jpeg_start_compress(&c, TRUE);
    const size_t stride = static_cast<size_t>(width) * components;
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(samples.data()) + c.next_scanline * stride;
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    return std::fclose(file) == 0;
}

bool writeTiff(const std::string& path, const std::vector<TiffPage>& pages) {
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    if (!tif)
        return false;
    bool ok = true;
    for (const TiffPage& page : pages) {
        uint16_t samplesPerPixel = 1, bits = 8, photometric = PHOTOMETRIC_MINISBLACK;
        switch (page.kind) {
        case TiffKind::Rgb:
            samplesPerPixel = 3;
            photometric = PHOTOMETRIC_RGB;
            break;
        case TiffKind::Rgba:
            samplesPerPixel = 4;
            photometric = PHOTOMETRIC_RGB;
            break;
        case TiffKind::Grey:
            break;
        case TiffKind::Palette:
            photometric = PHOTOMETRIC_PALETTE;
            break;
        case TiffKind::Bilevel:
            bits = 1;
            break;
        }
        TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(page.width));
        TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(page.height));
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bits);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samplesPerPixel);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, photometric);
        TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
        TIFFSetField(tif, TIFFTAG_COMPRESSION, page.compression);
        if (page.kind == TiffKind::Rgba) {
            const uint16_t extra = EXTRASAMPLE_ASSOCALPHA;
            TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &extra);
        }
        if (page.kind == TiffKind::Palette)
            TIFFSetField(tif, TIFFTAG_COLORMAP, page.map.data(), page.map.data() + 256,
                         page.map.data() + 512);
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP,
                     page.rowsPerStrip ? page.rowsPerStrip : TIFFDefaultStripSize(tif, 0));
        const size_t rowBytes = bits == 1 ? (static_cast<size_t>(page.width) + 7) / 8
                                          : static_cast<size_t>(page.width) * samplesPerPixel;
        Bytes row(rowBytes);
        for (int y = 0; y < page.height && ok; ++y) {
            if (bits == 1) {
                std::fill(row.begin(), row.end(), 0);
                for (int x = 0; x < page.width; ++x)
                    if (page.samples[static_cast<size_t>(y) * page.width + x])
                        row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            } else {
                std::memcpy(row.data(), page.samples.data() + y * rowBytes, rowBytes);
            }
            ok = TIFFWriteScanline(tif, row.data(), static_cast<uint32_t>(y), 0) == 1;
        }
        ok = ok && TIFFWriteDirectory(tif) == 1;
    }
    TIFFClose(tif);
    return ok;
}

Bytes pcxHeader(const PcxHeader& h) {
    Bytes out(128, 0);
    auto le16 = [&out](size_t at, uint16_t v) { platform::storeLe16(&out[at], v); };
    out[0] = 0x0A;
    out[1] = 5;
    out[2] = 1;
    out[3] = h.bitsPerPlane;
    le16(4, h.xmin);
    le16(6, h.ymin);
    le16(8, h.xmax);
    le16(10, h.ymax);
    out[65] = h.planes;
    le16(66, h.bytesPerLine);
    le16(68, 1);
    return out;
}

Bytes pcxEncode(const Bytes& scanline) {
    Bytes out;
    for (size_t i = 0; i < scanline.size();) {
        size_t run = 1;
        while (i + run < scanline.size() && run < 63 && scanline[i + run] == scanline[i])
            ++run;
        if (run == 1 && scanline[i] < 0xC0) {
            out.push_back(scanline[i]);
        } else {
            out.push_back(static_cast<uint8_t>(0xC0 | run));
            out.push_back(scanline[i]);
        }
        i += run;
    }
    return out;
}

namespace {

uint16_t evenLength(int width) {
    return static_cast<uint16_t>((width + 1) & ~1);
}

} // namespace

Bytes pcx8(int width, int height, const Bytes& indexes, const Bytes& palette768) {
    PcxHeader h;
    h.xmax = static_cast<uint16_t>(width - 1);
    h.ymax = static_cast<uint16_t>(height - 1);
    h.bytesPerLine = evenLength(width);
    Bytes out = pcxHeader(h);
    for (int y = 0; y < height; ++y) {
        Bytes line(h.bytesPerLine, 0xEE);
        std::memcpy(line.data(), indexes.data() + static_cast<size_t>(y) * width, width);
        const Bytes packed = pcxEncode(line);
        out.insert(out.end(), packed.begin(), packed.end());
    }
    out.push_back(0x0C);
    out.insert(out.end(), palette768.begin(), palette768.end());
    return out;
}

Bytes pcx24(int width, int height, const Bytes& rgb) {
    PcxHeader h;
    h.xmax = static_cast<uint16_t>(width - 1);
    h.ymax = static_cast<uint16_t>(height - 1);
    h.planes = 3;
    h.bytesPerLine = evenLength(width);
    Bytes out = pcxHeader(h);
    for (int y = 0; y < height; ++y) {
        Bytes line(3 * static_cast<size_t>(h.bytesPerLine), 0xEE);
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                line[c * h.bytesPerLine + x] = rgb[(static_cast<size_t>(y) * width + x) * 3 + c];
        const Bytes packed = pcxEncode(line);
        out.insert(out.end(), packed.begin(), packed.end());
    }
    return out;
}

Bytes photoCd(bool signature, uint8_t luma, uint8_t c1, uint8_t c2, size_t size) {
    Bytes out(size, 0);
    if (signature)
        std::memcpy(out.data() + 0x800, "PCD_IPI", 7);
    constexpr size_t kWidth = 768;
    for (size_t pair = 0; pair < 256; ++pair) {
        uint8_t* at = out.data() + 0x30000 + pair * 3 * kWidth;
        if (at + 3 * kWidth > out.data() + out.size())
            break;
        std::memset(at, luma, 2 * kWidth);
        std::memset(at + 2 * kWidth, c1, kWidth / 2);
        std::memset(at + 2 * kWidth + kWidth / 2, c2, kWidth / 2);
    }
    return out;
}

Bytes bmpFile(int width, int height, const Bytes& rgb, const BmpLayout& layout) {
    const uint32_t headerSize = layout.form == BmpForm::Core   ? 12
                                : layout.form == BmpForm::Info ? 40
                                                               : 124;
    const uint32_t offset = 14 + headerSize + layout.gap;
    const size_t rowBytes = ((static_cast<size_t>(width) * layout.bits + 31) / 32) * 4;
    Bytes file(offset + rowBytes * static_cast<size_t>(height), 0);
    file[0] = 'B';
    file[1] = static_cast<uint8_t>(layout.second);
    platform::storeLe32(&file[2], static_cast<uint32_t>(file.size()));
    platform::storeLe32(&file[10], offset);
    uint8_t* h = &file[14];
    platform::storeLe32(h, headerSize);
    if (layout.form == BmpForm::Core) {
        platform::storeLe16(h + 4, static_cast<uint16_t>(width));
        platform::storeLe16(h + 6, static_cast<uint16_t>(height));
        platform::storeLe16(h + 8, 1);
        platform::storeLe16(h + 10, layout.bits);
    } else {
        platform::storeLe32(h + 4, static_cast<uint32_t>(width));
        platform::storeLe32(h + 8, static_cast<uint32_t>(layout.topDown ? -height : height));
        platform::storeLe16(h + 12, 1);
        platform::storeLe16(h + 14, layout.bits);
        platform::storeLe32(h + 16, layout.compression);
    }
    for (int i = 0; i < height; ++i) {
        uint8_t* to = &file[offset + rowBytes * static_cast<size_t>(i)];
        if (layout.bits != 24) {
            std::memset(to, 0x5A, rowBytes);
            continue;
        }
        const int y = layout.topDown ? i : height - 1 - i;
        const uint8_t* from = rgb.data() + static_cast<size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x) {
            to[x * 3] = from[x * 3 + 2];
            to[x * 3 + 1] = from[x * 3 + 1];
            to[x * 3 + 2] = from[x * 3];
        }
    }
    return file;
}

Bytes bmp8(int width, int height, size_t minimumSize) {
    BmpLayout layout;
    layout.bits = 8;
    layout.gap = 1024;
    Bytes out = bmpFile(width, height, {}, layout);
    for (int i = 0; i < 256; ++i)
        for (int c = 0; c < 3; ++c)
            out[54 + i * 4 + c] = static_cast<uint8_t>(i);
    const size_t pixels = out.size() - (54 + 1024);
    for (size_t i = 0; i < pixels; ++i)
        out[54 + 1024 + i] = static_cast<uint8_t>(i * 13);
    if (out.size() < minimumSize)
        out.resize(minimumSize, 0);
    return out;
}

} // namespace kelvarn::testing
