// asset_file.h: opening the game's asset files so that only regular files are read.
//
// Owns nothing beyond the stream or bytes it hands back. The PNG loader, the
// glyph font and the audio layer open every asset through it, at start-up or on
// worker threads; a FIFO, device or directory in an asset's place fails at once,
// as a missing file does, instead of blocking start-up for ever.
#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>
#include <vector>

// A binary read stream of `path` when it names a regular file (after symbolic
// links); null when it is missing, unreadable or anything else. Never blocks;
// the caller closes the stream. One implementation per platform.
std::FILE* openRegularStream(const char* path);

// The whole contents of `path` when it is a regular file of at most `maxBytes`;
// empty when it is not, cannot be read, or is larger. Never throws, never blocks.
std::optional<std::vector<unsigned char>> readRegularFile(const char* path, std::size_t maxBytes);
