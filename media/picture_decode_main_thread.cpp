// picture_decode_main_thread.cpp: screen pictures decode on the main thread, at
// the frame that collects them. A browser page has no threads unless its
// server sends cross-origin isolation headers; asking for one there aborts or
// hangs. ScreenImages still decodes one picture a frame after the first.
#include "media/picture_decode.h"

std::future<std::optional<DecodedImage>> startPictureDecode(const char* path) {
    return std::async(std::launch::deferred, decodePng, path);
}
