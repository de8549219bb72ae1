// picture_decode_threads.cpp: screen pictures decode on worker threads, so the
// frames go on while a picture is read.
#include "media/picture_decode.h"

namespace {
// Either launch policy is allowed so that, where no thread can be started, the
// library may run the decode at get() instead of throwing.
constexpr auto DECODE_POLICY = std::launch::async | std::launch::deferred;
} // namespace

std::future<std::optional<DecodedImage>> startPictureDecode(const char* path) {
    return std::async(DECODE_POLICY, decodePng, path);
}
