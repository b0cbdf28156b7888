// Loading SDL2_mixer and opening, sharing and closing the audio device.

#include "platform/sound/detail/Mixer.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cstdlib>

namespace kelvarn::platform::detail {
namespace {

constexpr const char* kMixerLibrary = "libSDL2_mixer-2.0.so.0";
// General MIDI instruments for the MIDI synthesiser, when the user has not named any
// (SDL_SOUNDFONTS): the system's default GM sound font, else the small one run.sh installs.
constexpr const char* kSoundFonts[] = {"/usr/share/sounds/sf2/default-GM.sf2",
                                       "/usr/share/sounds/sf2/TimGM6mb.sf2"};
// CD quality; the mixer converts every sound to it, and the device is asked for exactly this.
constexpr int kFrequency = 44100;
constexpr int kChannels = 2;
constexpr int kChunkFrames = 1024;
constexpr int kMixingChannels = 16;

bool exists(const char* path) {
    struct stat st {};
    return ::stat(path, &st) == 0;
}

bool load(Mixer& mixer) {
    // Kept loaded for the rest of the process: its threads may outlive any one user.
    void* library = ::dlopen(kMixerLibrary, RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return false;
    bool complete = true;
#define KELVARN_MIXER_RESOLVE(name)                                                                \
    mixer.name = reinterpret_cast<decltype(mixer.name)>(::dlsym(library, #name));                  \
    complete = complete && mixer.name;
    KELVARN_MIXER_FUNCTIONS(KELVARN_MIXER_RESOLVE)
#undef KELVARN_MIXER_RESOLVE
    return complete;
}

bool openDevice(const Mixer& m) {
    // The runtime handles the session's end signals itself.
    m.SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (m.SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    if (m.Mix_OpenAudioDevice(kFrequency, AUDIO_S16SYS, kChannels, kChunkFrames, nullptr, 0) != 0) {
        m.SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    m.Mix_AllocateChannels(kMixingChannels);
    if (!std::getenv("SDL_SOUNDFONTS"))
        for (const char* font : kSoundFonts)
            if (exists(font)) {
                m.Mix_SetSoundFonts(font);
                break;
            }
    return true;
}

struct Device {
    Mixer mixer;
    bool loaded = false;
    bool failed = false;
    int users = 0;

    void close() {
        mixer.Mix_CloseAudio(); // stops the audio thread and waits for it
        mixer.Mix_Quit();
        mixer.SDL_QuitSubSystem(SDL_INIT_AUDIO);
        users = 0;
    }
    // A program that ends with a sound still playing (an error ending it at once) closes the
    // device on its way out, so the audio thread does not run into the process's teardown.
    ~Device() {
        if (users > 0)
            close();
    }
};

Device& device() {
    static Device d;
    return d;
}

} // namespace

const Mixer* acquireMixer() {
    Device& d = device();
    if (d.failed)
        return nullptr;
    if (d.users == 0) {
        if (!d.loaded && !(d.loaded = load(d.mixer))) {
            d.failed = true;
            return nullptr;
        }
        if (!openDevice(d.mixer))
            return nullptr;
    }
    ++d.users;
    return &d.mixer;
}

void releaseMixer() {
    Device& d = device();
    if (d.users > 0 && --d.users == 0)
        d.close();
}

const Mixer* openMixer() {
    const Device& d = device();
    return d.users > 0 ? &d.mixer : nullptr;
}

} // namespace kelvarn::platform::detail
