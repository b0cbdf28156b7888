#pragma once
// Inside the sound library: SDL2_mixer, loaded into the process on first use instead of linked
// (linking it loads some thirty libraries into every program at start-up), and its one audio
// device.

#include <SDL.h>
#include <SDL_mixer.h>

namespace kelvarn::platform::detail {

// The functions the sound library calls, resolved by name from the loaded mixer library (which
// brings SDL itself); each member has the type the SDL headers declare.
#define KELVARN_MIXER_FUNCTIONS(X)                                                                 \
    X(SDL_SetHint)                                                                                 \
    X(SDL_InitSubSystem)                                                                           \
    X(SDL_QuitSubSystem)                                                                           \
    X(SDL_RWFromConstMem)                                                                          \
    X(Mix_OpenAudioDevice)                                                                         \
    X(Mix_CloseAudio)                                                                              \
    X(Mix_Quit)                                                                                    \
    X(Mix_AllocateChannels)                                                                        \
    X(Mix_SetSoundFonts)                                                                           \
    X(Mix_LoadWAV_RW)                                                                              \
    X(Mix_FreeChunk)                                                                               \
    X(Mix_PlayChannelTimed)                                                                        \
    X(Mix_Playing)                                                                                 \
    X(Mix_GetChunk)                                                                                \
    X(Mix_LoadMUS_RW)                                                                              \
    X(Mix_FreeMusic)                                                                               \
    X(Mix_PlayMusic)                                                                               \
    X(Mix_PlayingMusic)

struct Mixer {
#define KELVARN_MIXER_MEMBER(name) decltype(&::name) name = nullptr;
    KELVARN_MIXER_FUNCTIONS(KELVARN_MIXER_MEMBER)
#undef KELVARN_MIXER_MEMBER
};

// The mixer with the audio device open, for one more user; null when the library is missing
// (not tried again) or no device opens (tried again by the next user). Each non-null answer
// is paired with one releaseMixer(); the device closes when the last user releases it, or at
// process exit.
const Mixer* acquireMixer();
void releaseMixer();
// The mixer while the device is open, without becoming a user.
const Mixer* openMixer();

} // namespace kelvarn::platform::detail
