// png_texture.h: loads a PNG file into an OpenGL texture.
//
// Owns nothing after it returns: the texture belongs to the GL context. Loading
// is two steps so that the first can run on any thread: decodePng reads and
// decodes the file with no GL context; fillTexture uploads the picture on the
// thread whose context is current. Textures hold level 0 alone: the pictures are
// drawn with linear minification, which samples no other level.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include <GL/gl.h>

// Largest width or height, in pixels, that a PNG may claim; larger is refused
// at the header, before any pixel memory is allocated.
inline constexpr std::uint32_t PNG_MAX_SIDE = 8192;

// Largest PNG file, in bytes, that is read at all; a screen picture is far smaller.
inline constexpr std::size_t PNG_MAX_FILE_BYTES = 64 * 1024 * 1024;

inline constexpr int RGB_CHANNELS = 3;  // bytes a pixel, 8-bit RGB
inline constexpr int RGBA_CHANNELS = 4; // bytes a pixel, 8-bit RGBA

// A decoded picture: 8-bit RGB or RGBA rows, first file row first, tightly packed.
struct DecodedImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int channels = 0; // RGB_CHANNELS or RGBA_CHANNELS
    std::vector<unsigned char> pixels;
};

// Decodes any PNG colour type and bit depth to 8-bit RGB, or RGBA when the file
// has alpha (an alpha channel or a tRNS chunk). Empty on any failure, including
// a path that is not a regular file; never throws.
std::optional<DecodedImage> decodePng(const char* path);

// Decodes PNG bytes held in memory as decodePng decodes a file's.
std::optional<DecodedImage> decodePngBytes(const unsigned char* data, std::size_t size);

// Uploads `image` into the existing texture `texture`, clamped at its edges and
// filtered linearly; false, leaving it untouched, when `texture` is 0 or the
// picture is larger than the GL allows. Needs a current GL context; leaves the
// texture binding and unpack alignment as it found them.
bool fillTexture(GLuint texture, const DecodedImage& image);
