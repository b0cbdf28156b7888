#pragma once
// A window's background sound: the bytes of a wave or MIDI file, played from memory on the sound
// library's own audio thread (docs/sound.md gives the play modes). The sound library is loaded
// and the audio device opened only when a sound first plays, and the device closes when the
// last sound that used it is destroyed; a program without a sound never touches either. Without
// a sound library or an audio device, nothing plays and nothing else changes.
//
// One thread: every sound of the program is played, stopped and destroyed on the same thread
// (the user-interface thread). Waves mix with each other; MIDI music plays one piece at a time,
// the last one started taking over.

#include <cstdint>
#include <span>
#include <vector>

struct Mix_Chunk;
struct _Mix_Music;

namespace kelvarn::platform {

enum class SoundPlayMode : std::int32_t {
    Once = 0, // from the start to the end, then silence
    Loop = 1, // from the start, again and again
    None = 2, // kept, not played
};

// A stored mode as the window keeps it: 0 to 2, anything else counting as None.
SoundPlayMode soundPlayModeOf(std::int32_t stored);

class BackgroundSound {
public:
    BackgroundSound() = default;
    ~BackgroundSound();
    BackgroundSound(const BackgroundSound&) = delete;
    BackgroundSound& operator=(const BackgroundSound&) = delete;

    // Stops what this sound plays, then plays `bytes` from its start as the mode says. Empty
    // bytes or mode None play nothing. False when nothing plays: no sound library or audio
    // device, or bytes the library cannot decode.
    bool play(std::span<const std::uint8_t> bytes, SoundPlayMode mode);
    void stop();
    bool isPlaying() const;

private:
    bool m_usesDevice = false;
    Mix_Chunk* m_chunk = nullptr;
    int m_channel = -1;
    _Mix_Music* m_music = nullptr;
    std::vector<std::uint8_t> m_musicBytes; // read by the audio thread while the music plays
};

// Whether the audio device is open now (some sound has used it and still exists).
bool audioDeviceOpen();

} // namespace kelvarn::platform
