// Background sounds over SDL2_mixer: a wave is decoded whole into a chunk and mixed on a channel
// of its own; MIDI (and any other music the mixer knows) streams from the kept bytes as the
// mixer's one music.

#include "platform/sound/BackgroundSound.h"

#include "platform/sound/detail/Mixer.h"

#include <climits>
#include <cstring>

namespace kelvarn::platform {
namespace {

using detail::Mixer;

// The sound whose music the mixer plays now.
const BackgroundSound* g_musicOwner = nullptr;

bool hasAt(std::span<const std::uint8_t> bytes, std::size_t at, const char (&magic)[5]) {
    return bytes.size() >= at + 4 && std::memcmp(bytes.data() + at, magic, 4) == 0;
}

// A standard MIDI file, bare or in a RIFF "RMID" wrapper; anything else is taken as a wave.
bool isMusic(std::span<const std::uint8_t> bytes) {
    return hasAt(bytes, 0, "MThd") || (hasAt(bytes, 0, "RIFF") && hasAt(bytes, 8, "RMID"));
}

} // namespace

SoundPlayMode soundPlayModeOf(std::int32_t stored) {
    return stored == 0   ? SoundPlayMode::Once
           : stored == 1 ? SoundPlayMode::Loop
                         : SoundPlayMode::None;
}

BackgroundSound::~BackgroundSound() {
    stop();
    if (m_usesDevice)
        detail::releaseMixer();
}

bool BackgroundSound::play(std::span<const std::uint8_t> bytes, SoundPlayMode mode) {
    stop();
    if (bytes.empty() || bytes.size() > std::size_t(INT_MAX) || mode == SoundPlayMode::None)
        return false;
    if (!m_usesDevice)
        m_usesDevice = detail::acquireMixer() != nullptr;
    const Mixer* m = detail::openMixer();
    if (!m_usesDevice || !m)
        return false;
    const int loops = mode == SoundPlayMode::Loop ? -1 : 0;
    if (isMusic(bytes)) {
        m_musicBytes.assign(bytes.begin(), bytes.end());
        SDL_RWops* source = m->SDL_RWFromConstMem(m_musicBytes.data(), int(m_musicBytes.size()));
        m_music = source ? m->Mix_LoadMUS_RW(source, 1) : nullptr;
        if (!m_music || m->Mix_PlayMusic(m_music, loops) != 0) {
            stop();
            return false;
        }
        g_musicOwner = this;
        return true;
    }
    SDL_RWops* source = m->SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
    m_chunk = source ? m->Mix_LoadWAV_RW(source, 1) : nullptr; // decodes a copy
    if (m_chunk)
        m_channel = m->Mix_PlayChannelTimed(-1, m_chunk, loops, -1);
    if (m_channel < 0) {
        stop();
        return false;
    }
    return true;
}

void BackgroundSound::stop() {
    const Mixer* m = detail::openMixer();
    if (m_chunk && m)
        m->Mix_FreeChunk(m_chunk); // halts the channels playing it first
    m_chunk = nullptr;
    m_channel = -1;
    if (m_music && m)
        m->Mix_FreeMusic(m_music); // halts it when it is the music playing
    m_music = nullptr;
    if (g_musicOwner == this)
        g_musicOwner = nullptr;
    m_musicBytes.clear();
}

bool BackgroundSound::isPlaying() const {
    const Mixer* m = detail::openMixer();
    if (!m)
        return false;
    if (m_chunk)
        return m_channel >= 0 && m->Mix_Playing(m_channel) && m->Mix_GetChunk(m_channel) == m_chunk;
    return m_music && g_musicOwner == this && m->Mix_PlayingMusic();
}

bool audioDeviceOpen() {
    return detail::openMixer() != nullptr;
}

} // namespace kelvarn::platform
