// audio_library_linked.cpp: the entry points of SDL and SDL_mixer linked into
// the program, as the Windows build links them.
#include "media/audio_library.h"

const AudioLibrary* audioLibrary() {
    static const AudioLibrary library{
        SDL_LogSetOutputFunction,
        SDL_SetHint,
        SDL_InitSubSystem,
        SDL_RWFromFP,
        Mix_OpenAudioDevice,
        Mix_RegisterEffect,
        Mix_LoadMUS_RW,
        Mix_PlayMusic,
        Mix_HaltMusic,
        Mix_FreeMusic,
    };
    return &library;
}
