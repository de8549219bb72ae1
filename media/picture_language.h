// picture_language.h: the screen pictures in the player's language, on Windows.
//
// Owns nothing but the language, chosen once. The Windows asset opener asks it
// which file to read for every asset it opens, from any thread. Elsewhere the
// language is the run folder the game starts in, and nothing calls this.
#pragma once

#include <string>

// The file to read for the asset `path`: for a screen picture,
// "./images/<name>", the same picture in the player's language,
// "./images/<language>/<name>", where that file exists; `path` itself for
// anything else, for a picture the language lacks, and in English.
std::string pictureInPlayersLanguage(const char* path);
