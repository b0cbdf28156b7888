#pragma once
// Sounds for tests, made from code, and what SDL's disk audio driver wrote while they played:
// the samples, and where in them a tone sounds.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelvarn::platform::testing {

inline constexpr int kSampleRate = 44100;

// `ms` milliseconds of a sine tone at `hz` (amplitude kToneAmplitude), or of silence for hz 0.
inline constexpr int kToneAmplitude = 12000;
std::vector<std::int16_t> tone(int hz, int ms);
std::vector<std::int16_t> joined(std::initializer_list<std::vector<std::int16_t>> parts);
// A wave file of the samples: 44.1 kHz, 16-bit, mono.
std::vector<std::uint8_t> waveFile(std::span<const std::int16_t> samples);
// A standard MIDI file playing one note (a MIDI note number, 69 is A 440 Hz) for `ms` on the
// General MIDI piano.
std::vector<std::uint8_t> midiNote(int note, int ms);

// Sends the sound library's output to `file` through SDL's disk driver (for the next opening
// of the audio device): 44.1 kHz, 16-bit, stereo frames as the device was opened.
void useDiskAudio(const std::string& file);
// Waits until the file holds `ms` milliseconds of output; false after `timeoutMs`.
bool waitForAudio(const std::string& file, int ms, int timeoutMs = 30000);
// The left channel of what was written.
std::vector<std::int16_t> writtenSamples(const std::string& file);

// Stretches of 10 ms windows in which a tone at `hz` sounds at least at a quarter of
// kToneAmplitude (a Goertzel filter per window), in milliseconds from the first sample.
struct ToneRun {
    int startMs = 0;
    int lengthMs = 0;
    bool operator==(const ToneRun&) const = default;
};
std::vector<ToneRun> toneRuns(std::span<const std::int16_t> samples, int hz);
// The tone's amplitude over the samples as a whole (0 to about kToneAmplitude for a pure tone).
double toneLevel(std::span<const std::int16_t> samples, int hz);
double rms(std::span<const std::int16_t> samples);

} // namespace kelvarn::platform::testing
