// audio_library_dlopen.cpp: loads SDL and SDL_mixer with dlopen on first use.
// The libraries are opened by their sonames, the names their ABI is kept under,
// and with RTLD_GLOBAL so that SDL_mixer's own references to SDL resolve to
// the same SDL, as they would had the program been linked against both.
#include "media/audio_library.h"

#include <dlfcn.h>

namespace {

constexpr const char* SDL_SONAME = "libSDL2-2.0.so.0";
constexpr const char* MIXER_SONAME = "libSDL2_mixer-2.0.so.0";
constexpr int OPEN_MODE = RTLD_NOW | RTLD_GLOBAL;

// Sets `entry` to the function `name` of `library`; false when it has none.
template <typename Function> bool bind(void* library, const char* name, Function& entry) {
    entry = reinterpret_cast<Function>(dlsym(library, name));
    return entry != nullptr;
}

const AudioLibrary* load() {
    void* sdl = dlopen(SDL_SONAME, OPEN_MODE);
    void* mixer = sdl != nullptr ? dlopen(MIXER_SONAME, OPEN_MODE) : nullptr;
    if (mixer == nullptr) {
        return nullptr;
    }
    static AudioLibrary library{};
    const bool complete = bind(sdl, "SDL_LogSetOutputFunction", library.LogSetOutputFunction) &&
                          bind(sdl, "SDL_SetHint", library.SetHint) &&
                          bind(sdl, "SDL_InitSubSystem", library.InitSubSystem) &&
                          bind(sdl, "SDL_RWFromFP", library.RWFromFP) &&
                          bind(mixer, "Mix_OpenAudioDevice", library.OpenAudioDevice) &&
                          bind(mixer, "Mix_RegisterEffect", library.RegisterEffect) &&
                          bind(mixer, "Mix_LoadMUS_RW", library.LoadMUS_RW) &&
                          bind(mixer, "Mix_PlayMusic", library.PlayMusic) &&
                          bind(mixer, "Mix_HaltMusic", library.HaltMusic) &&
                          bind(mixer, "Mix_FreeMusic", library.FreeMusic);
    return complete ? &library : nullptr;
}

} // namespace

const AudioLibrary* audioLibrary() {
    static const AudioLibrary* const library = load();
    return library;
}
