// sound_player.cpp: starts the background music through the audio layer. No
// result is looked at: without a device or a readable file the game is silent.
#include "media/sound_player.h"

#include "media/audio_output.h"

namespace {

constexpr int OUTPUT_RATE_HZ = 44100; // output sample rate, in Hz

} // namespace

SoundPlayer& SoundPlayer::instance() {
    static SoundPlayer* const player = new SoundPlayer; // never destroyed
    return *player;
}

void SoundPlayer::init() {
    audio::openAudioOutput(OUTPUT_RATE_HZ);
}

void SoundPlayer::playMusic(const char* path) {
    audio::freeStream(musicStream);
    musicStream = audio::openLoopingStream(path);
    audio::startStream(musicStream);
}
