// png_texture.cpp: decodes PNG files through libpng and uploads them as textures.
//
// libpng reports errors by longjmp, so the two steps that call into it
// (readHeader, readPixels) hold no objects with destructors; the file, the
// libpng structs and the pixel memory are owned by decodePng around them.
#include "media/png_texture.h"

#include <png.h>

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <new>

namespace {

constexpr int RGB_CHANNELS = 3;          // bytes a pixel, 8-bit RGB
constexpr int RGBA_CHANNELS = 4;         // bytes a pixel, 8-bit RGBA
constexpr int PNG_ERROR_JUMP = 1;        // value handed to setjmp by the error handler
constexpr GLint TIGHT_ROW_ALIGNMENT = 1; // bytes: rows of any width are packed end to end
constexpr GLint BASE_LEVEL = 0;          // mipmap level of the picture itself
constexpr GLint NO_BORDER = 0;           // texels of texture border
constexpr GLsizei ONE_TEXTURE = 1;

// libpng's error handler must not return: jump back to the step that called
// libpng, printing nothing.
[[noreturn]] void silentError(png_structp png, png_const_charp /*message*/) {
    png_longjmp(png, PNG_ERROR_JUMP);
}

void silentWarning(png_structp /*png*/, png_const_charp /*message*/) {}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// One libpng read struct and its info struct, destroyed together.
class PngReader {
  public:
    PngReader()
        : png_(png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, silentError, silentWarning)),
          info_(png_ != nullptr ? png_create_info_struct(png_) : nullptr) {}
    ~PngReader() { png_destroy_read_struct(&png_, &info_, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    bool valid() const { return png_ != nullptr && info_ != nullptr; }
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

  private:
    png_structp png_;
    png_infop info_;
};

// Size of the decoded rows once the expansions are set.
struct RowLayout {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int channels = 0;
    std::size_t rowBytes = 0;
};

// Reads the header (refusing sides above PNG_MAX_SIDE there, before any pixel
// memory exists) and asks for 8-bit RGB or RGBA rows. False on any libpng error.
bool readHeader(png_structp png, png_infop info, std::FILE* file, RowLayout& layout) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_init_io(png, file);
    png_set_user_limits(png, PNG_MAX_SIDE, PNG_MAX_SIDE);
    png_read_info(png, info);
    png_set_expand(png); // palette to RGB, grey below 8 bits to 8, tRNS to alpha
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    layout.width = png_get_image_width(png, info);
    layout.height = png_get_image_height(png, info);
    layout.channels = png_get_channels(png, info);
    layout.rowBytes = png_get_rowbytes(png, info);
    return true;
}

// Decodes every row into `rows` and reads the chunks after the image data, so
// that a file cut short anywhere is refused. False on any libpng error.
bool readPixels(png_structp png, png_infop info, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_read_image(png, rows);
    png_read_end(png, info);
    return true;
}

bool isPlainRgbOrRgba(const RowLayout& layout) {
    return (layout.channels == RGB_CHANNELS || layout.channels == RGBA_CHANNELS) &&
           layout.rowBytes == static_cast<std::size_t>(layout.width) * layout.channels;
}

} // namespace

std::optional<DecodedImage> decodePng(const char* path) {
    const FileHandle file(std::fopen(path, "rb"));
    if (file == nullptr) {
        return std::nullopt;
    }
    const PngReader reader;
    RowLayout layout;
    if (!reader.valid() || !readHeader(reader.png(), reader.info(), file.get(), layout) ||
        !isPlainRgbOrRgba(layout)) {
        return std::nullopt;
    }
    try {
        DecodedImage image;
        image.width = layout.width;
        image.height = layout.height;
        image.channels = layout.channels;
        image.pixels.resize(layout.rowBytes * layout.height);
        std::vector<png_bytep> rows(layout.height);
        for (std::size_t y = 0; y < rows.size(); ++y) {
            rows[y] = image.pixels.data() + y * layout.rowBytes;
        }
        if (!readPixels(reader.png(), reader.info(), rows.data())) {
            return std::nullopt;
        }
        return image;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

GLuint loadPngTexture(const char* path, const PngTextureOptions& options) {
    const std::optional<DecodedImage> image = decodePng(path);
    if (!image) {
        return 0;
    }
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    const auto width = static_cast<GLsizei>(image->width);
    const auto height = static_cast<GLsizei>(image->height);
    if (width > maxSide || height > maxSide) {
        return 0;
    }
    GLuint texture = 0;
    glGenTextures(ONE_TEXTURE, &texture);
    if (texture == 0) {
        return 0;
    }
    GLint previousTexture = 0;
    GLint previousAlignment = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previousTexture);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);

    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, options.wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, options.wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, options.minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, options.magFilter);
    // The chain is generated from level 0 at its native size, so a picture of
    // any width shows one texel per pixel instead of being rescaled first.
    glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, options.buildMipmaps ? GL_TRUE : GL_FALSE);
    const GLenum format = image->channels == RGBA_CHANNELS ? GL_RGBA : GL_RGB;
    glPixelStorei(GL_UNPACK_ALIGNMENT, TIGHT_ROW_ALIGNMENT);
    glTexImage2D(GL_TEXTURE_2D, BASE_LEVEL, static_cast<GLint>(format), width, height, NO_BORDER,
                 format, GL_UNSIGNED_BYTE, image->pixels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previousTexture));
    return texture;
}
