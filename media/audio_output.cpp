// audio_output.cpp: the audio layer over SDL_mixer. One output device, the
// music streams as SDL_mixer music with endless loops, one post-mix effect
// hook that runs the playing stream's effect, and the libraries' own console
// messages silenced, since the game prints nothing about audio.
#include "media/audio_output.h"
#include "media/audio_library.h"
#include "media/quiet_decoder.h"

#include <cstddef>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <span>

#include "media/asset_file.h"
#if QUILLORY_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

namespace {

constexpr Uint16 SAMPLE_FORMAT = AUDIO_S16SYS; // signed 16-bit samples, native byte order
constexpr int CHANNELS = 2;                    // stereo
constexpr int MIX_BUFFER_FRAMES = 2048;        // frames mixed per callback, 46 ms at 44100 Hz

// Frees SDL_mixer music, halting it first if it plays.
struct MusicCloser {
    void operator()(Mix_Music* music) const { audioLibrary()->FreeMusic(music); }
};
using MusicPtr = std::unique_ptr<Mix_Music, MusicCloser>;

// Loads the music at `path` from a stream opened as a regular file, so a FIFO
// or device in its place is refused at once instead of blocking start-up;
// SDL_mixer then owns, and closes, the stream it reads from.
MusicPtr loadMusic(const char* path) {
    std::FILE* stream = openRegularStream(path);
    if (stream == nullptr) {
        return nullptr;
    }
    SDL_RWops* source = audioLibrary()->RWFromFP(stream, SDL_TRUE);
    if (source == nullptr) {
        std::fclose(stream);
        return nullptr;
    }
    return MusicPtr(audioLibrary()->LoadMUS_RW(source, 1)); // frees the source whatever happens
}

struct Stream {
    MusicPtr music;
    audio::StreamEffect effect = nullptr;
    void* context = nullptr;
};

// The effect the audio thread runs; written on the main thread under `lock`,
// which is never held across a call into SDL_mixer (the audio thread takes
// SDL's device lock first, then this one).
struct ActiveEffect {
    std::mutex lock;
    audio::StreamEffect effect = nullptr;
    void* context = nullptr;

    void set(audio::StreamEffect newEffect, void* newContext) {
        std::scoped_lock guard(lock);
        effect = newEffect;
        context = newContext;
    }
};

struct Output {
    bool audioUp = false; // SDL's audio subsystem is initialised; it stays so once it is
    bool open = false;
    audio::StreamHandle lastHandle = audio::NO_STREAM;
    audio::StreamHandle playing = audio::NO_STREAM;
    std::map<audio::StreamHandle, Stream> streams;
    ActiveEffect active;
};

// Never destroyed: the audio thread may still mix while the process exits,
// and the output and streams are meant to last until then.
Output& output() {
    static Output* const state = new Output;
    return *state;
}

Stream* findStream(audio::StreamHandle stream) {
    auto found = output().streams.find(stream);
    return found == output().streams.end() ? nullptr : &found->second;
}

// The one post-mix hook: hands the mixed buffer to the playing stream's effect.
void runActiveEffect(int /*channel*/, void* buffer, int bytes, void* state) {
    auto& active = *static_cast<ActiveEffect*>(state);
    std::scoped_lock guard(active.lock);
    if (active.effect != nullptr) {
        const auto count = static_cast<std::size_t>(bytes) / sizeof(std::int16_t);
        active.effect(std::span(static_cast<std::int16_t*>(buffer), count), active.context);
    }
}

void discardSdlLog(void* /*userdata*/, int /*category*/, SDL_LogPriority /*priority*/,
                   const char* /*message*/) {}

#if QUILLORY_HAVE_ALSA
void discardAlsaError(const char* /*file*/, int /*line*/, const char* /*function*/, int /*err*/,
                      const char* /*fmt*/, ...) {}
#endif

// SDL itself logs, e.g. the disk driver's banner; ALSA prints a page of
// errors when there is no sound card; the MP3 decoder may print about a
// damaged file. None of them reaches the console.
void silenceAudioLibraries(const AudioLibrary& sdl) {
    sdl.LogSetOutputFunction(discardSdlLog, nullptr);
    quietenMp3Decoder();
#if QUILLORY_HAVE_ALSA
    snd_lib_error_set_handler(discardAlsaError);
#endif
}

} // namespace

namespace audio {

bool openAudioOutput(int rateHz) {
    Output& out = output();
    if (out.open) {
        return true;
    }
    // Without the sound libraries the game is as silent as without a device.
    const AudioLibrary* sdl = audioLibrary();
    if (sdl == nullptr) {
        return false;
    }
    if (!out.audioUp) {
        silenceAudioLibraries(*sdl);
        // Audio brings up SDL's event subsystem, which would take over SIGINT and
        // SIGTERM for an event queue the game never reads: Ctrl-C would no longer
        // end the game.
        sdl->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (sdl->InitSubSystem(SDL_INIT_AUDIO) != 0) {
            return false;
        }
        out.audioUp = true;
    }
    // Without a device the subsystem stays up all the same, as it does beside an
    // open device: quitting it would join the driver's device-detection thread,
    // which checks for the quit only between its 100 ms sleeps, so start-up
    // would wait up to that long for nothing. A later call retries the open on
    // the same driver.
    // No allowed changes (0): SDL converts to the device, and we mix as asked.
    if (sdl->OpenAudioDevice(rateHz, SAMPLE_FORMAT, CHANNELS, MIX_BUFFER_FRAMES, nullptr, 0) != 0) {
        return false;
    }
    sdl->RegisterEffect(MIX_CHANNEL_POST, runActiveEffect, nullptr, &out.active);
    out.open = true;
    return true;
}

StreamHandle openLoopingStream(const char* path) {
    Output& out = output();
    if (!out.open || path == nullptr) {
        return NO_STREAM;
    }
    MusicPtr music = loadMusic(path);
    if (!music) {
        return NO_STREAM;
    }
    const StreamHandle handle = ++out.lastHandle;
    out.streams.emplace(handle, Stream{std::move(music)});
    return handle;
}

void startStream(StreamHandle stream) {
    Output& out = output();
    Stream* found = findStream(stream);
    if (found == nullptr || out.playing == stream) {
        return;
    }
    // The stream's effect is in place before its first buffer is mixed, and
    // no other stream is mixed under it.
    audioLibrary()->HaltMusic();
    out.active.set(found->effect, found->context);
    out.playing = NO_STREAM;
    if (audioLibrary()->PlayMusic(found->music.get(), -1) == 0) { // -1: loop forever
        out.playing = stream;
    } else {
        out.active.set(nullptr, nullptr);
    }
}

void freeStream(StreamHandle stream) {
    Output& out = output();
    if (findStream(stream) == nullptr) {
        return;
    }
    if (out.playing == stream) {
        // Silence first, so that no buffer of the stream is mixed without its effect.
        audioLibrary()->HaltMusic();
        out.active.set(nullptr, nullptr);
        out.playing = NO_STREAM;
    }
    out.streams.erase(stream);
}

bool attachStreamEffect(StreamHandle stream, StreamEffect effect, void* context) {
    Output& out = output();
    Stream* found = findStream(stream);
    if (found == nullptr) {
        return false;
    }
    found->effect = effect;
    found->context = context;
    if (out.playing == stream) {
        out.active.set(effect, context);
    }
    return true;
}

} // namespace audio
