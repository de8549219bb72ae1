// png_texture.h: loads a PNG file into an OpenGL texture.
//
// Owns nothing after it returns: the texture belongs to the GL context. Loading
// is two steps so that the first can run on any thread: decodePngLevels reads
// the file and builds the mipmap chain on the CPU, with no GL context;
// uploadTexture makes the texture of them on the thread whose context is current.
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

// A decoded picture: 8-bit RGB or RGBA rows, first file row first, tightly packed.
struct DecodedImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int channels = 0; // 3 (RGB) or 4 (RGBA)
    std::vector<unsigned char> pixels;
};

// Decodes any PNG colour type and bit depth to 8-bit RGB, or RGBA when the file
// has alpha (an alpha channel or a tRNS chunk). Empty on any failure, including
// a path that is not a regular file; never throws.
std::optional<DecodedImage> decodePng(const char* path);

// Decodes PNG bytes held in memory as decodePng decodes a file's.
std::optional<DecodedImage> decodePngBytes(const unsigned char* data, std::size_t size);

// The next mipmap level of `image`: half its width and height, rounded down but
// never below 1, with each texel the rounded mean of a 2x2 block of `image`.
// Block indices are clamped to the last row and column: a side of 1 texel stays
// 1 (a 1xN image halves along N alone), and an odd side's last row or column,
// outside every block, is not sampled. `image.pixels` holds width x height x
// channels bytes. Same channel count; empty pixels for an empty image.
DecodedImage halveImage(const DecodedImage& image);

// A texture's pictures, the picture itself (level 0) first.
using TextureLevels = std::vector<DecodedImage>;

// Decodes `path` and, when `buildMipmaps`, every smaller level down to 1x1.
// Needs no GL context and touches no shared state, so it may run on any thread.
// Empty on any failure; never throws.
TextureLevels decodePngLevels(const char* path, bool buildMipmaps);

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

// Uploads `levels` (as decodePngLevels makes them) into a new texture and
// returns its name, or 0 when `levels` is empty or level 0 is larger than the
// GL allows. Parameters, context and restored state as for loadPngTexture;
// `options.buildMipmaps` is not read, the levels given are the chain.
GLuint uploadTexture(const TextureLevels& levels, const PngTextureOptions& options = {});

// Uploads `levels` into the existing texture `texture`, as uploadTexture does
// into a new one; false, leaving it untouched, where uploadTexture would give 0.
bool fillTexture(GLuint texture, const TextureLevels& levels, const PngTextureOptions& options = {});
