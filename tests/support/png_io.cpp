// png_io.cpp: PNG files for tests, through libpng's simplified API.
#include "tests/support/png_io.h"

#include <png.h>

namespace testsupport {

bool writePng(const std::string& path, const Image& image) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = image.channels == 4 ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    return png_image_write_to_file(&png, path.c_str(), 0, image.pixels.data(), 0, nullptr) != 0;
}

Image readPngRgb(const std::string& path) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&png, path.c_str()) == 0) {
        return {};
    }
    png.format = PNG_FORMAT_RGB;
    Image image;
    image.width = static_cast<int>(png.width);
    image.height = static_cast<int>(png.height);
    image.channels = 3;
    image.pixels.resize(PNG_IMAGE_SIZE(png));
    if (png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr) == 0) {
        png_image_free(&png);
        return {};
    }
    return image;
}

Image solidImage(int width, int height, unsigned char r, unsigned char g, unsigned char b) {
    Image image;
    image.width = width;
    image.height = height;
    image.channels = 3;
    image.pixels.resize(static_cast<std::size_t>(width) * height * 3);
    for (std::size_t i = 0; i < image.pixels.size(); i += 3) {
        image.pixels[i] = r;
        image.pixels[i + 1] = g;
        image.pixels[i + 2] = b;
    }
    return image;
}

} // namespace testsupport
