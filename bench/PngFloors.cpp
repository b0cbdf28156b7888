// The floors the conversions are measured against, and the output check the benchmark runs
// before it times anything. Works on the PNG bytes alone, with zlib; no PNG library.
//
//   kelvarn_png_floors check [--allow CHUNK] FILE...
//                                          every FILE is Adam7 8-bit RGB with only IHDR, IDAT
//                                          and IEND (CRCs checked); prints the IDAT bytes' hash
//   kelvarn_png_floors deflate REPS FILE... for Adam7 outputs: inflates the IDAT stream back to
//                                          the filtered, interlaced rows and times deflate of
//                                          those rows at level 6 with the writer's defaults
//                                          (window 15, memory level 8, filtered strategy); also
//                                          says whether that deflate gives the file's IDAT bytes
//   kelvarn_png_floors inflate REPS FILE... times inflate of the IDAT stream of each input
//
// Times are CPU seconds of this process (the median of REPS runs for each file); one line per
// file and a "total" line, whitespace-separated.
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct PngFile {
    uint32_t width = 0;
    uint32_t height = 0;
    int bitDepth = 0;
    int colourType = 0;
    int interlace = 0;
    std::vector<std::string> chunkNames;
    std::vector<unsigned char> idat;
    std::string error;
};

uint32_t bigEndian(const unsigned char* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

PngFile readPng(const char* path) {
    PngFile png;
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() < 8 || std::memcmp(bytes.data(), kSignature, 8) != 0) {
        png.error = "no PNG signature";
        return png;
    }
    size_t at = 8;
    while (at + 12 <= bytes.size()) {
        const uint32_t length = bigEndian(&bytes[at]);
        if (length > bytes.size() - at - 12) {
            png.error = "chunk runs past the end";
            return png;
        }
        const unsigned char* type = &bytes[at + 4];
        const unsigned char* data = type + 4;
        const uLong crc = crc32(0, type, 4 + length);
        if (crc != bigEndian(data + length)) {
            png.error = "bad CRC";
            return png;
        }
        const std::string name(reinterpret_cast<const char*>(type), 4);
        png.chunkNames.push_back(name);
        if (name == "IHDR" && length == 13) {
            png.width = bigEndian(data);
            png.height = bigEndian(data + 4);
            png.bitDepth = data[8];
            png.colourType = data[9];
            png.interlace = data[12];
        } else if (name == "IDAT") {
            png.idat.insert(png.idat.end(), data, data + length);
        }
        at += 12 + length;
        if (name == "IEND")
            break;
    }
    if (png.chunkNames.empty() || png.chunkNames.back() != "IEND")
        png.error = "no IEND";
    return png;
}

// Bytes of the filtered rows: one filter byte per row of each pass that has pixels.
size_t filteredBytes(const PngFile& png) {
    const uint64_t bytesPerPixel = 3;
    auto rowBytes = [&](uint64_t width) { return width == 0 ? 0 : 1 + width * bytesPerPixel; };
    if (png.interlace == 0)
        return static_cast<size_t>(rowBytes(png.width) * png.height);
    static const int kStartX[7] = {0, 4, 0, 2, 0, 1, 0};
    static const int kStartY[7] = {0, 0, 4, 0, 2, 0, 1};
    static const int kStepX[7] = {8, 8, 4, 4, 2, 2, 1};
    static const int kStepY[7] = {8, 8, 8, 4, 4, 2, 2};
    uint64_t total = 0;
    for (int pass = 0; pass < 7; ++pass) {
        const uint64_t w = png.width > uint32_t(kStartX[pass])
                               ? (png.width - kStartX[pass] + kStepX[pass] - 1) / kStepX[pass]
                               : 0;
        const uint64_t h = png.height > uint32_t(kStartY[pass])
                               ? (png.height - kStartY[pass] + kStepY[pass] - 1) / kStepY[pass]
                               : 0;
        if (w > 0)
            total += rowBytes(w) * h;
    }
    return static_cast<size_t>(total);
}

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

bool inflateAll(const std::vector<unsigned char>& in, std::vector<unsigned char>& out) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return false;
    z.next_in = const_cast<unsigned char*>(in.data());
    z.avail_in = static_cast<uInt>(in.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int r = inflate(&z, Z_FINISH);
    const bool ok = r == Z_STREAM_END && z.avail_out == 0;
    inflateEnd(&z);
    return ok;
}

bool deflateAll(const std::vector<unsigned char>& in, std::vector<unsigned char>& out) {
    z_stream z{};
    if (deflateInit2(&z, 6, Z_DEFLATED, 15, 8, Z_FILTERED) != Z_OK)
        return false;
    out.resize(deflateBound(&z, in.size()));
    z.next_in = const_cast<unsigned char*>(in.data());
    z.avail_in = static_cast<uInt>(in.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int r = deflate(&z, Z_FINISH);
    out.resize(out.size() - z.avail_out);
    deflateEnd(&z);
    return r == Z_STREAM_END;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int check(int count, char** paths) {
    int failures = 0;
    // "--allow NAME" lets one ancillary chunk through (a peer's output that always carries it).
    std::string allowed;
    if (count >= 2 && std::strcmp(paths[0], "--allow") == 0) {
        allowed = paths[1];
        count -= 2;
        paths += 2;
    }
    for (int i = 0; i < count; ++i) {
        const PngFile png = readPng(paths[i]);
        std::string problem = png.error;
        const std::vector<std::string> expected = {"IHDR", "IDAT", "IEND"};
        std::vector<std::string> kinds;
        for (const std::string& name : png.chunkNames)
            if (name != allowed && (kinds.empty() || kinds.back() != name))
                kinds.push_back(name);
        if (problem.empty() && kinds != expected)
            problem = "chunks other than IHDR, IDAT..., IEND";
        if (problem.empty() && (png.bitDepth != 8 || png.colourType != 2))
            problem = "not 8-bit RGB";
        if (problem.empty() && png.interlace != 1)
            problem = "not Adam7";
        std::vector<unsigned char> rows(filteredBytes(png));
        if (problem.empty() && !inflateAll(png.idat, rows))
            problem = "IDAT does not inflate to the rows' size";
        if (problem.empty())
            std::printf("ok %08lx %s\n", crc32(0, png.idat.data(), uInt(png.idat.size())),
                        paths[i]);
        else {
            std::printf("FAIL %s: %s\n", paths[i], problem.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}

int floors(bool deflating, int reps, int count, char** paths) {
    double total = 0;
    int failures = 0;
    for (int i = 0; i < count; ++i) {
        const PngFile png = readPng(paths[i]);
        std::vector<unsigned char> rows(filteredBytes(png));
        if (!png.error.empty() || !inflateAll(png.idat, rows)) {
            std::printf("FAIL %s\n", paths[i]);
            ++failures;
            continue;
        }
        std::vector<double> times;
        std::vector<unsigned char> packed;
        for (int r = 0; r < reps; ++r) {
            const double start = cpuSeconds();
            const bool ok = deflating ? deflateAll(rows, packed) : inflateAll(png.idat, rows);
            times.push_back(cpuSeconds() - start);
            if (!ok) {
                ++failures;
                break;
            }
        }
        const double seconds = median(times);
        total += seconds;
        const char* same = !deflating ? "-" : packed == png.idat ? "same-idat" : "other-idat";
        std::printf("%s %.4f %s\n", paths[i], seconds, same);
    }
    std::printf("total %.4f\n", total);
    return failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "check") == 0)
        return check(argc - 2, argv + 2);
    const bool deflating = argc >= 4 && std::strcmp(argv[1], "deflate") == 0;
    const bool inflating = argc >= 4 && std::strcmp(argv[1], "inflate") == 0;
    if (deflating || inflating) {
        const int reps = std::max(1, std::atoi(argv[2]));
        return floors(deflating, reps, argc - 3, argv + 3);
    }
    std::fputs("usage: kelvarn_png_floors check FILE... | deflate REPS FILE... | "
               "inflate REPS FILE...\n",
               stderr);
    return 2;
}
