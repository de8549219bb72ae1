// sound_player.h: the looping background music.
//
// Owns the one music stream. The initialisation opens the output and starts
// the music once; nothing else calls it. Never destroyed; the stream plays
// until the process ends. Every failure is silent.
#pragma once

#include <cstdint>

class SoundPlayer {
  public:
    static SoundPlayer& instance();

    // Opens the default audio output at 44100 Hz; silent and quiet when there is none.
    void init();
    // Replaces the current music by a looping stream of `path` and starts it.
    void playMusic(const char* path);

    std::uint32_t musicStream = 0; // handle of the music playing, 0 for none

  private:
    SoundPlayer() = default;
};
