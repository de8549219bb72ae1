// audio_library.h: the SDL and SDL_mixer entry points the audio layer calls.
//
// Owns the sound libraries once they are loaded, which on Linux happens on the
// first call rather than at program start: SDL and SDL_mixer bring some sixty
// libraries of their own (codecs, PulseAudio, Wayland, ...) whose loading would
// otherwise delay the first frame. Only the audio layer calls it, on the main
// thread; what it loads stays until the process ends. One implementation per
// platform: Windows links the libraries into the program.
#pragma once

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

// The functions of SDL and SDL_mixer that the audio layer uses, by their own names.
struct AudioLibrary {
    decltype(&SDL_LogSetOutputFunction) LogSetOutputFunction;
    decltype(&SDL_SetHint) SetHint;
    decltype(&SDL_InitSubSystem) InitSubSystem;
    decltype(&SDL_RWFromFP) RWFromFP;
    decltype(&Mix_OpenAudioDevice) OpenAudioDevice;
    decltype(&Mix_RegisterEffect) RegisterEffect;
    decltype(&Mix_LoadMUS_RW) LoadMUS_RW;
    decltype(&Mix_PlayMusic) PlayMusic;
    decltype(&Mix_HaltMusic) HaltMusic;
    decltype(&Mix_FreeMusic) FreeMusic;
};

// The entry points, every one set; loaded on the first call. Null when the
// libraries or one of the functions cannot be had, and so on every later call.
const AudioLibrary* audioLibrary();
