#include "platform/sound/testing/SoundFiles.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <thread>

namespace kelvarn::platform::testing {
namespace {

constexpr int kWindow = kSampleRate / 100; // 10 ms
constexpr int kFrameBytes = 4;             // 16-bit stereo

void le(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(std::uint8_t(v >> (8 * i)));
}

void be(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(std::uint8_t(v >> (8 * i)));
}

void append(std::vector<std::uint8_t>& out, const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i)
        out.push_back(std::uint8_t(tag[i]));
}

// A MIDI variable-length quantity.
void vlq(std::vector<std::uint8_t>& out, std::uint32_t v) {
    int groups = 1;
    while (groups < 5 && (v >> (7 * groups)) != 0)
        ++groups;
    for (int g = groups - 1; g >= 0; --g)
        out.push_back(std::uint8_t(((v >> (7 * g)) & 0x7F) | (g > 0 ? 0x80 : 0)));
}

} // namespace

std::vector<std::int16_t> tone(int hz, int ms) {
    std::vector<std::int16_t> out(std::size_t(kSampleRate) * std::size_t(ms) / 1000);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = std::int16_t(hz == 0 ? 0
                                      : kToneAmplitude * std::sin(2 * std::numbers::pi * hz *
                                                                  double(i) / kSampleRate));
    return out;
}

std::vector<std::int16_t> joined(std::initializer_list<std::vector<std::int16_t>> parts) {
    std::vector<std::int16_t> out;
    for (const auto& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

std::vector<std::uint8_t> waveFile(std::span<const std::int16_t> samples) {
    const std::uint32_t data = std::uint32_t(samples.size() * 2);
    std::vector<std::uint8_t> out;
    append(out, "RIFF");
    le(out, 36 + data, 4);
    append(out, "WAVE");
    append(out, "fmt ");
    le(out, 16, 4);
    le(out, 1, 2); // PCM
    le(out, 1, 2); // mono
    le(out, kSampleRate, 4);
    le(out, kSampleRate * 2, 4);
    le(out, 2, 2);
    le(out, 16, 2);
    append(out, "data");
    le(out, data, 4);
    for (const std::int16_t s : samples)
        le(out, std::uint16_t(s), 2);
    return out;
}

std::vector<std::uint8_t> midiNote(int note, int ms) {
    // 480 ticks a quarter note at the default 500 000 microseconds: one tick is 1/960 s.
    std::vector<std::uint8_t> track;
    vlq(track, 0);
    track.insert(track.end(), {0xC0, 0x00}); // program 0, the piano
    vlq(track, 0);
    track.insert(track.end(), {0x90, std::uint8_t(note), 100});
    vlq(track, std::uint32_t(ms) * 960 / 1000);
    track.insert(track.end(), {0x80, std::uint8_t(note), 0});
    vlq(track, 0);
    track.insert(track.end(), {0xFF, 0x2F, 0x00});
    std::vector<std::uint8_t> out;
    append(out, "MThd");
    be(out, 6, 4);
    be(out, 0, 2);
    be(out, 1, 2);
    be(out, 480, 2);
    append(out, "MTrk");
    be(out, std::uint32_t(track.size()), 4);
    out.insert(out.end(), track.begin(), track.end());
    return out;
}

void useDiskAudio(const std::string& file) {
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
}

bool waitForAudio(const std::string& file, int ms, int timeoutMs) {
    const auto wanted = std::uintmax_t(kSampleRate) * std::uintmax_t(ms) / 1000 * kFrameBytes;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::error_code ec;
    while (std::filesystem::file_size(file, ec) < wanted || ec) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

std::vector<std::int16_t> writtenSamples(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    std::vector<std::int16_t> left;
    for (std::size_t i = 0; i + kFrameBytes <= bytes.size(); i += kFrameBytes)
        left.push_back(std::int16_t(std::uint8_t(bytes[i]) | (std::uint8_t(bytes[i + 1]) << 8)));
    return left;
}

double toneLevel(std::span<const std::int16_t> samples, int hz) {
    if (samples.empty())
        return 0;
    const double k = 2 * std::cos(2 * std::numbers::pi * hz / kSampleRate);
    double s1 = 0, s2 = 0;
    for (const std::int16_t x : samples) {
        const double s0 = x + k * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    const double power = std::max(0.0, s1 * s1 + s2 * s2 - k * s1 * s2);
    return 2 * std::sqrt(power) / double(samples.size());
}

double rms(std::span<const std::int16_t> samples) {
    double sum = 0;
    for (const std::int16_t x : samples)
        sum += double(x) * x;
    return samples.empty() ? 0 : std::sqrt(sum / double(samples.size()));
}

std::vector<ToneRun> toneRuns(std::span<const std::int16_t> samples, int hz) {
    std::vector<ToneRun> runs;
    bool inRun = false;
    for (std::size_t at = 0; at + kWindow <= samples.size(); at += kWindow) {
        const bool present = toneLevel(samples.subspan(at, kWindow), hz) > kToneAmplitude / 4.0;
        const int ms = int(at * 1000 / kSampleRate);
        if (present && !inRun)
            runs.push_back({ms, 0});
        if (present)
            runs.back().lengthMs = ms + 10 - runs.back().startMs;
        inRun = present;
    }
    return runs;
}

} // namespace kelvarn::platform::testing
