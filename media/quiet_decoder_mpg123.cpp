// quiet_decoder_mpg123.cpp: keeps libmpg123, SDL_mixer's MP3 decoder on
// Linux, from printing, by interposing mpg123_new.
#include "media/quiet_decoder.h"

#include <dlfcn.h>
#include <mpg123.h>

namespace {

using NewDecoder = mpg123_handle* (*)(const char*, int*);

// The shared library's own mpg123_new, found once.
NewDecoder libraryNewDecoder() {
    static const auto createDecoder = reinterpret_cast<NewDecoder>(dlsym(RTLD_NEXT, "mpg123_new"));
    return createDecoder;
}

} // namespace

// SDL_mixer decodes MP3 through libmpg123 and never asks it to be quiet, so a
// damaged file would print mpg123's notes to stderr, even from the audio
// thread. SDL_mixer's calls to mpg123_new reach this definition first (the
// executable's symbols come before the shared libraries'); it creates the
// decoder as usual and switches its messages off.
extern "C" mpg123_handle* mpg123_new(const char* decoder, int* error) {
    const NewDecoder createDecoder = libraryNewDecoder();
    if (createDecoder == nullptr) {
        if (error != nullptr) {
            *error = MPG123_ERR;
        }
        return nullptr;
    }
    mpg123_handle* handle = createDecoder(decoder, error);
    if (handle != nullptr) {
        mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    }
    return handle;
}

// The audio layer's call is also what links this file, and so the interposer,
// into the executable from the static library; the lookup is done here, on the
// main thread, rather than on the audio thread at the first decoder.
void quietenMp3Decoder() { libraryNewDecoder(); }
