// Decode and encode throughput of the BMP and PNG codecs, in megapixels per second, on a
// 2000 x 1500 photograph-like picture made here: smooth gradients with a little noise, so that
// PNG's filters and deflate see realistic data (neither flat nor random). Rates are per CPU
// second of the process, so that a busy machine changes them less than wall-clock rates.
#include "imaging/BmpCodec.h"
#include "imaging/PngCodec.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

namespace {

using kelvarn::imaging::BmpCodec;
using kelvarn::imaging::ImageRecord;
using kelvarn::imaging::PngCodec;

constexpr int32_t kWidth = 2000;
constexpr int32_t kHeight = 1500;
constexpr double kMegapixels = kWidth * kHeight / 1e6;

void makePhotograph(ImageRecord& image) {
    if (!image.create(kWidth, kHeight, 24, 0))
        std::abort();
    std::mt19937 random(2024);
    std::normal_distribution<double> noise(0.0, 3.0);
    for (int32_t y = 0; y < kHeight; ++y) {
        uint8_t* p = image.row(y);
        for (int32_t x = 0; x < kWidth; ++x, p += 3) {
            const double u = static_cast<double>(x) / kWidth;
            const double v = static_cast<double>(y) / kHeight;
            const double shade = 0.5 + 0.5 * std::sin(6.0 * u + 3.0 * v) * std::cos(4.0 * v);
            const double channel[3] = {255.0 * (0.2 + 0.6 * u * shade),
                                       255.0 * (0.1 + 0.7 * shade * (1.0 - v)),
                                       255.0 * (0.3 + 0.5 * v * (1.0 - shade))};
            for (int c = 0; c < 3; ++c) {
                const double value = std::lround(channel[c] + noise(random));
                p[c] = static_cast<uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
            }
        }
    }
}

// The picture and its two files, in a folder that is removed at exit.
struct Workload {
    std::filesystem::path folder;
    ImageRecord picture;
    std::string bmpPath;
    std::string pngPath;

    Workload() {
        std::random_device random;
        folder =
            std::filesystem::temp_directory_path() / ("kelvarn-bench-" + std::to_string(random()));
        std::filesystem::create_directories(folder);
        bmpPath = (folder / "photo.bmp").string();
        pngPath = (folder / "photo.png").string();
        makePhotograph(picture);
        BmpCodec bmp;
        PngCodec png;
        if (!bmp.openWrite(bmpPath.c_str(), picture, 24) || !bmp.encode() ||
            !png.openWrite(pngPath.c_str(), picture, 24, 0) || !png.encode())
            std::abort();
    }
    ~Workload() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

Workload& workload() {
    static Workload instance;
    return instance;
}

void reportRate(benchmark::State& state) {
    state.counters["MP/s"] = benchmark::Counter(
        kMegapixels * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BmpRead(benchmark::State& state) {
    Workload& w = workload();
    ImageRecord target;
    for (auto _ : state) {
        BmpCodec codec;
        if (!codec.open(w.bmpPath.c_str(), target) || !codec.decode())
            state.SkipWithError("decode failed");
    }
    reportRate(state);
}

void BmpWrite(benchmark::State& state) {
    Workload& w = workload();
    const std::string path = (w.folder / "out.bmp").string();
    for (auto _ : state) {
        BmpCodec codec;
        if (!codec.openWrite(path.c_str(), w.picture, 24) || !codec.encode())
            state.SkipWithError("encode failed");
    }
    reportRate(state);
}

// Argument 1: the own reader first (the codec's default); 0: libpng alone.
void PngRead(benchmark::State& state) {
    Workload& w = workload();
    ImageRecord target;
    for (auto _ : state) {
        PngCodec codec;
        codec.setOwnReader(state.range(0) != 0);
        if (!codec.open(w.pngPath.c_str(), target) || !codec.decode())
            state.SkipWithError("decode failed");
    }
    reportRate(state);
}

void PngWrite(benchmark::State& state) {
    Workload& w = workload();
    const std::string path = (w.folder / "out.png").string();
    for (auto _ : state) {
        PngCodec codec;
        if (!codec.openWrite(path.c_str(), w.picture, 24, 0) || !codec.encode())
            state.SkipWithError("encode failed");
    }
    reportRate(state);
}

BENCHMARK(BmpRead)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BmpWrite)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(PngRead)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(PngWrite)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
