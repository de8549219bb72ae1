// picture_decode.h: where the screen pictures are decoded, chosen at build
// time. ScreenImages starts every decode here and collects it through the
// future; on the desktop a decode runs on a worker thread, in a browser (no
// threads) on the main thread when the future is waited on.
#pragma once

#include <future>
#include <optional>

#include "media/png_texture.h"

// Starts decoding the PNG file at `path`; the future holds decodePng's result.
std::future<std::optional<DecodedImage>> startPictureDecode(const char* path);
