// Where a conversion's time goes: each stage of the image library's own path timed apart on the
// workload's files, beside the floor of that stage on the same data.
//
//   kelvarn_png_stages tobmp REPS PNG...   PNG -> BMP: read (chunks, CRCs, IDAT gathered),
//                                          inflate, pixel file, unfilter, BMP write; floors:
//                                          libdeflate's one-call inflate of the same IDAT data
//                                          and a plain write of the BMP's bytes
//   kelvarn_png_stages topng REPS BMP...   BMP -> PNG: BMP read (pixel file included, and
//                                          timed alone), filter, deflate, the whole writer; floors:
//                                          libdeflate at the writer's level on the exact filtered
//                                          stream, a plain write of the PNG's bytes
//
// Times are CPU seconds of this process (user + system: page faults count), the median of REPS
// runs per file, summed over the files. Prints "stage NAME SECONDS" and "floor NAME SECONDS"
// lines and the output bytes.
#include "imaging/BmpCodec.h"
#include "imaging/PngChunks.h"
#include "imaging/PngEncoder.h"
#include "imaging/PngFilter.h"
#include "imaging/PngReader.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace kelvarn::imaging;

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Per stage (in order of first use), the times of every run of the current file.
class StageClock {
public:
    template <typename Body> void time(const std::string& name, Body body) {
        const double start = cpuSeconds();
        body();
        record(name, cpuSeconds() - start);
    }
    void record(const std::string& name, double seconds) {
        if (std::find(m_order.begin(), m_order.end(), name) == m_order.end())
            m_order.push_back(name);
        m_runs[name].push_back(seconds);
    }
    // Adds this file's medians to the totals and starts the next file.
    void endFile() {
        for (auto& [name, runs] : m_runs)
            m_totals[name] += median(runs);
        m_runs.clear();
    }
    void print() const {
        for (const std::string& name : m_order)
            std::printf("%s %.4f\n", name.c_str(), m_totals.at(name));
    }

private:
    std::vector<std::string> m_order;
    std::map<std::string, std::vector<double>> m_runs;
    std::map<std::string, double> m_totals;
};

[[noreturn]] void fail(const char* what, const char* path) {
    std::fprintf(stderr, "%s failed: %s\n", what, path);
    std::exit(1);
}

// The pixel file as a decoder gets it, every page written once: the kernel's share apart.
void makePixelFile(ImageRecord& record, int32_t width, int32_t height, int32_t bitsPerPixel) {
    if (record.create(width, height, bitsPerPixel, 0) != 1)
        fail("pixel file", "");
    for (size_t at = 0; at < record.bufferSize(); at += 4096)
        record.pixels()[at] = 0;
}

void writeBytesFloor(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
        std::fclose(file) != 0)
        fail("write", path.c_str());
}

std::vector<uint8_t> fileBytes(const std::string& path) {
    std::vector<uint8_t> bytes(std::filesystem::file_size(path));
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file || std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size())
        fail("read", path.c_str());
    std::fclose(file);
    return bytes;
}

void toBmp(int reps, int count, char** paths, const std::string& scratch, StageClock& stages,
           StageClock& floors, uint64_t& outputBytes) {
    const std::string target = scratch + "/out.bmp";
    libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
    for (int i = 0; i < count; ++i) {
        for (int r = 0; r < reps; ++r) {
            PngChunkScan scan;
            stages.time("read", [&] {
                std::FILE* file = std::fopen(paths[i], "rb");
                if (!file || !scanPngChunks(file, scan))
                    fail("chunks", paths[i]);
                std::fclose(file);
            });
            // The floor inflates the same IDAT into a buffer that is already mapped.
            PngImageData data;
            std::vector<uint8_t> idat(scan.idat.bytes(), scan.idat.bytes() + scan.idatBytes);
            stages.time("inflate", [&] {
                if (!inflatePngImage(scan, data))
                    fail("inflate", paths[i]);
            });
            floors.time("inflate (libdeflate, one call)", [&] {
                size_t got = 0;
                if (libdeflate_zlib_decompress(decompressor, idat.data(), idat.size(),
                                               data.stream.bytes(), data.bytes,
                                               &got) != LIBDEFLATE_SUCCESS)
                    fail("floor inflate", paths[i]);
            });
            ImageRecord record;
            const int32_t bits = static_cast<int32_t>(data.format.recordBytesPerPixel() * 8);
            stages.time("pixel file", [&] {
                makePixelFile(record, static_cast<int32_t>(scan.width),
                              static_cast<int32_t>(scan.height), bits);
            });
            stages.time("unfilter", [&] {
                if (!unfilterPngImage(data, record))
                    fail("unfilter", paths[i]);
            });
            data.stream.release();
            stages.time("write (BMP)", [&] {
                BmpCodec writer;
                if (writer.openWrite(target.c_str(), record, 24) != 1 || writer.encode() != 1)
                    fail("BMP write", paths[i]);
            });
            const std::vector<uint8_t> written = fileBytes(target);
            if (r == 0)
                outputBytes += written.size();
            floors.time("write of the output's bytes", [&] { writeBytesFloor(target, written); });
        }
        stages.endFile();
        floors.endFile();
    }
    libdeflate_free_decompressor(decompressor);
}

void toPng(int reps, int count, char** paths, const std::string& scratch, StageClock& stages,
           StageClock& floors, uint64_t& outputBytes) {
    const std::string target = scratch + "/out.png";
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(kPngDeflateLevel);
    for (int i = 0; i < count; ++i) {
        for (int r = 0; r < reps; ++r) {
            BmpCodec reader;
            ImageRecord record;
            if (reader.open(paths[i], record) != 1)
                fail("BMP open", paths[i]);
            // The decoder makes its own pixel file; one made apart shows that part's cost.
            ImageRecord alone;
            stages.time("pixel file (alone, in the read)",
                        [&] { makePixelFile(alone, reader.width(), reader.height(), 24); });
            alone.release();
            stages.time("read (BMP, pixel file included)", [&] {
                if (reader.decode() != 1)
                    fail("BMP read", paths[i]);
            });
            const auto width = static_cast<uint32_t>(record.width());
            const auto height = static_cast<uint32_t>(record.height());
            const size_t streamBytes = interlacedStreamBytes(width, height, 3);
            std::unique_ptr<uint8_t[]> filtered;
            stages.time("filter", [&] {
                filtered.reset(new uint8_t[streamBytes]);
                const FilterSource source{record.pixels(), record.rowBytes(), width, height, 3};
                if (!filterInterlaced(source, FilterRule::MinimumSumAbs, filtered.get(), nullptr))
                    fail("filter", paths[i]);
            });
            const size_t bound = libdeflate_zlib_compress_bound(compressor, streamBytes);
            std::vector<uint8_t> packed;
            size_t packedBytes = 0;
            stages.time("deflate", [&] {
                std::unique_ptr<uint8_t[]> fresh(new uint8_t[bound]);
                packedBytes = libdeflate_zlib_compress(compressor, filtered.get(), streamBytes,
                                                       fresh.get(), bound);
                packed.assign(fresh.get(), fresh.get() + packedBytes);
            });
            // The floor compresses into a buffer that is already mapped.
            packed.resize(bound);
            floors.time("deflate (libdeflate, writer's level)", [&] {
                if (libdeflate_zlib_compress(compressor, filtered.get(), streamBytes, packed.data(),
                                             bound) != packedBytes)
                    fail("floor deflate", paths[i]);
            });
            filtered.reset();
            // The whole writer once more for the file it writes (its filter and deflate are
            // the stages above); its write is the rest.
            double whole = 0;
            {
                const double start = cpuSeconds();
                const PngPicture picture{record.pixels(), record.rowBytes(), width, height,
                                         kPngColourRgb,   nullptr,           0};
                std::FILE* file = std::fopen(target.c_str(), "wb");
                if (!file || writePng(file, picture, nullptr) != PngWriteResult::Written ||
                    std::fclose(file) != 0)
                    fail("PNG write", paths[i]);
                whole = cpuSeconds() - start;
            }
            const std::vector<uint8_t> written = fileBytes(target);
            if (r == 0)
                outputBytes += written.size();
            floors.time("write of the output's bytes", [&] { writeBytesFloor(target, written); });
            stages.record("whole PNG writer (filter + deflate + write)", whole);
        }
        stages.endFile();
        floors.endFile();
    }
    libdeflate_free_compressor(compressor);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4 || (std::strcmp(argv[1], "tobmp") != 0 && std::strcmp(argv[1], "topng") != 0)) {
        std::fputs("usage: kelvarn_png_stages tobmp|topng REPS FILE...\n", stderr);
        return 2;
    }
    const int reps = std::max(1, std::atoi(argv[2]));
    const std::string scratch = (std::filesystem::temp_directory_path() /
                                 ("kelvarn-stages-" + std::to_string(std::random_device()())))
                                    .string();
    std::filesystem::create_directories(scratch);
    StageClock stages;
    StageClock floors;
    uint64_t outputBytes = 0;
    if (argv[1][2] == 'b')
        toBmp(reps, argc - 3, argv + 3, scratch, stages, floors, outputBytes);
    else
        toPng(reps, argc - 3, argv + 3, scratch, stages, floors, outputBytes);
    std::filesystem::remove_all(scratch);
    std::printf("stages\n");
    stages.print();
    std::printf("floors\n");
    floors.print();
    std::printf("output-bytes %llu\n", static_cast<unsigned long long>(outputBytes));
    return 0;
}
