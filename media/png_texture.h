// png_texture.h: loads a PNG file into an OpenGL texture.
//
// Owns nothing after it returns: the texture belongs to the GL context. The
// screen images call it once per picture at start-up, with a current context.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <GL/gl.h>

// Largest width or height, in pixels, that a PNG may claim; larger is refused
// at the header, before any pixel memory is allocated.
inline constexpr std::uint32_t PNG_MAX_SIDE = 8192;

// A decoded picture: 8-bit RGB or RGBA rows, first file row first, tightly packed.
struct DecodedImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int channels = 0; // 3 (RGB) or 4 (RGBA)
    std::vector<unsigned char> pixels;
};

// Decodes any PNG colour type and bit depth to 8-bit RGB, or RGBA when the file
// has alpha (an alpha channel or a tRNS chunk). Empty on any failure; never throws.
std::optional<DecodedImage> decodePng(const char* path);

// What texture to make of a file.
struct PngTextureOptions {
    bool buildMipmaps = true; // a filtered mipmap chain instead of level 0 only
    GLint wrap = GL_CLAMP;    // wrap mode for s and t
    GLint minFilter = GL_LINEAR;
    GLint magFilter = GL_LINEAR;
};

// Loads `path` into a new texture and returns its name, or 0 on any failure
// (missing, not a PNG, truncated, corrupt, too large). Needs a current GL context;
// prints nothing of its own and leaves the texture binding and unpack alignment
// as it found them.
GLuint loadPngTexture(const char* path, const PngTextureOptions& options = {});
