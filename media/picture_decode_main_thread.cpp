// picture_decode_main_thread.cpp: screen pictures decode on the main thread, at
// the frame that collects them. A browser page has no threads unless its
// server sends cross-origin isolation headers; asking for one there aborts or
// hangs. ScreenImages still decodes one picture a frame after the first. The
// page may have decoded the title already, with the browser's own decoder,
// before the program started (index.html); those pixels are taken as they are.
#include "media/picture_decode.h"

#include <emscripten/emscripten.h>

#include <utility>

namespace {

// Whether the page decoded the picture at `path`, and its size if so. The page
// names a picture by its path in the folder, as "images/titlescreen.png".
EM_JS(int, pagePictureSize, (const char* path, int* width, int* height), {
    const name = UTF8ToString(path).split("/").filter((part) => part && part != ".").join("/");
    const picture = Module.decodedPictures && Module.decodedPictures.get(name);
    if (!picture) return 0;
    Module.decodedPictures.found = name;
    HEAP32[width >> 2] = picture.width;
    HEAP32[height >> 2] = picture.height;
    return 1;
});

// Copies the RGBA pixels of the picture pagePictureSize just found to `out`,
// and lets the page's copy go.
EM_JS(void, takePagePicture, (unsigned char* out), {
    const name = Module.decodedPictures.found;
    HEAPU8.set(Module.decodedPictures.get(name).pixels, out);
    Module.decodedPictures.delete(name);
});

} // namespace

std::future<std::optional<DecodedImage>> startPictureDecode(const char* path) {
    int width = 0;
    int height = 0;
    if (pagePictureSize(path, &width, &height) != 0) {
        DecodedImage image;
        image.width = static_cast<std::uint32_t>(width);
        image.height = static_cast<std::uint32_t>(height);
        image.channels = RGBA_CHANNELS;
        image.pixels.resize(static_cast<std::size_t>(width) * height * RGBA_CHANNELS);
        takePagePicture(image.pixels.data());
        std::promise<std::optional<DecodedImage>> decoded;
        decoded.set_value(std::move(image));
        return decoded.get_future();
    }
    return std::async(std::launch::deferred, decodePng, path);
}
