// quiet_decoder_drmp3.cpp: the Windows build's MP3 decoder is dr_mp3, built
// into SDL_mixer, which reports problems only through its return values and
// never prints; there is nothing to quieten.
#include "media/quiet_decoder.h"

void quietenMp3Decoder() {}
