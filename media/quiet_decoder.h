// quiet_decoder.h: keeps the MP3 decoder that SDL_mixer uses from printing.
//
// One implementation per platform, chosen in media/CMakeLists.txt. The audio
// layer calls it once before it opens any music; what it sets up lasts until
// the process ends.
#pragma once

// Makes sure every MP3 decoder SDL_mixer creates from now on prints nothing.
void quietenMp3Decoder();
