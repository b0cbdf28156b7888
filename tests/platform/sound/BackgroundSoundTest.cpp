// Background sounds played on SDL's disk audio driver, whose output file is read back: where a
// known tone sounds tells what was played, and when.

#include "platform/sound/BackgroundSound.h"
#include "platform/sound/testing/SoundFiles.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace kelvarn::testing {
using namespace kelvarn::platform;
using namespace kelvarn::platform::testing;
namespace {

class BackgroundSoundTest : public ::testing::Test {
protected:
    void SetUp() override { useDiskAudio(m_output); }

    // The samples once `ms` milliseconds of output exist.
    std::vector<std::int16_t> playedFor(int ms) {
        EXPECT_TRUE(waitForAudio(m_output, ms));
        return writtenSamples(m_output);
    }

    TempFolder m_folder;
    const std::string m_output = m_folder / "played.raw";
};

TEST_F(BackgroundSoundTest, OnceAndLoopPlayTheWaveOnceAndAgainAndAgain) {
    // 80 ms of 1 kHz, then 70 ms of silence.
    const std::vector<std::uint8_t> wave = waveFile(joined({tone(1000, 80), tone(0, 70)}));
    for (const auto& [mode, moreThanOnce] :
         {std::pair{SoundPlayMode::Once, false}, std::pair{SoundPlayMode::Loop, true}}) {
        SCOPED_TRACE(int(mode));
        {
            BackgroundSound sound;
            ASSERT_TRUE(sound.play(wave, mode));
            EXPECT_TRUE(sound.isPlaying());
            const std::vector<std::int16_t> samples = playedFor(700);
            const std::vector<ToneRun> runs = toneRuns(samples, 1000);
            ASSERT_FALSE(runs.empty());
            EXPECT_NEAR(runs[0].lengthMs, 80, 20);
            EXPECT_EQ(runs.size() > 1, moreThanOnce) << runs.size() << " runs";
            if (moreThanOnce) {
                EXPECT_NEAR(runs[1].startMs - runs[0].startMs, 150, 20);
            }
            EXPECT_TRUE(toneRuns(samples, 2500).empty()) << "a tone that was never played";
            EXPECT_EQ(sound.isPlaying(), moreThanOnce);
        }
        EXPECT_FALSE(audioDeviceOpen()) << "the last sound closed the device";
    }
}

TEST_F(BackgroundSoundTest, PlayingAgainStopsTheSoundAndStartsTheNewOneFromItsStart) {
    BackgroundSound sound;
    ASSERT_TRUE(sound.play(waveFile(tone(1000, 1000)), SoundPlayMode::Once));
    // Once the first tone has sounded for a while, the second replaces it.
    for (int i = 0; i < 600 && toneRuns(writtenSamples(m_output), 1000).empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    ASSERT_TRUE(sound.play(waveFile(tone(2000, 200)), SoundPlayMode::Once));
    const std::vector<std::int16_t> samples =
        playedFor(int(writtenSamples(m_output).size() * 1000 / kSampleRate) + 600);
    const std::vector<ToneRun> first = toneRuns(samples, 1000);
    const std::vector<ToneRun> second = toneRuns(samples, 2000);
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_LT(first[0].lengthMs, 800) << "the first tone was cut";
    EXPECT_NEAR(second[0].startMs, first[0].startMs + first[0].lengthMs, 60);
    EXPECT_NEAR(second[0].lengthMs, 200, 20);
}

TEST_F(BackgroundSoundTest, AMidiNoteIsSynthesised) {
    BackgroundSound sound;
    ASSERT_TRUE(sound.play(midiNote(69, 500), SoundPlayMode::Once));
    const std::vector<std::int16_t> samples = playedFor(1500);
    EXPECT_TRUE(sound.isPlaying() || rms(samples) > 0);
    // A 440 stands out over the notes a semitone and an octave away.
    const double a = toneLevel(samples, 440);
    EXPECT_GT(rms(samples), 100);
    EXPECT_GT(a, 4 * toneLevel(samples, 466));
    EXPECT_GT(a, 4 * toneLevel(samples, 220));
}

TEST_F(BackgroundSoundTest, NothingToPlayOpensNoDeviceAndNoDevicePlaysSilently) {
    {
        BackgroundSound sound;
        EXPECT_FALSE(sound.play({}, SoundPlayMode::Loop));
        EXPECT_FALSE(sound.play(waveFile(tone(1000, 50)), SoundPlayMode::None));
        EXPECT_FALSE(audioDeviceOpen());
        EXPECT_FALSE(sound.play(std::vector<std::uint8_t>(64, 0x55), SoundPlayMode::Once))
            << "bytes that are no sound";
    }
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    BackgroundSound sound;
    EXPECT_FALSE(sound.play(waveFile(tone(1000, 50)), SoundPlayMode::Once));
    EXPECT_FALSE(sound.isPlaying());
    EXPECT_FALSE(audioDeviceOpen());
}

} // namespace
} // namespace kelvarn::testing
