// png_texture.cpp: decodes PNG files through libpng and uploads them as textures.
//
// libpng reports errors by longjmp, so the two steps that call into it
// (readHeader, readPixels) hold no objects with destructors; the bytes, the
// libpng structs and the pixel memory are owned by decodePngBytes around them.
//
// Files come from anyone who swaps an asset, so libpng is held to what a screen
// picture needs: every ancillary chunk but tRNS is skipped unread, a chunk may
// not ask for more than a small buffer, and libpng's "benign" errors refuse the
// file instead of letting it on, so no chunk can make the loader allocate much
// before the pixel rows (bounded by PNG_MAX_SIDE) are known.
#include "media/png_texture.h"

#include <png.h>

#include <csetjmp>
#include <cstddef>
#include <cstring>
#include <new>

#include "media/asset_file.h"

namespace {

// Bytes libpng may allocate for one chunk's data or its decompressed text. The
// chunks still read (PLTE, tRNS) hold at most 768 bytes; IDAT is streamed in
// pieces of its own and is not bound by this.
constexpr png_alloc_size_t CHUNK_MEMORY_LIMIT = 64 * 1024;

// libpng's error handler must not return: jump back to the step that called
// libpng, printing nothing.
[[noreturn]] void silentError(png_structp png, png_const_charp /*message*/) {
    png_longjmp(png, 1);
}

void silentWarning(png_structp /*png*/, png_const_charp /*message*/) {}

// The file's bytes as libpng reads them, front to back.
struct ByteSource {
    const unsigned char* data;
    std::size_t size;
    std::size_t offset = 0;
};

// libpng's read callback: a read past the end is a truncated file.
void readFromBytes(png_structp png, png_bytep out, png_size_t length) {
    auto* source = static_cast<ByteSource*>(png_get_io_ptr(png));
    if (length > source->size - source->offset) {
        png_error(png, "truncated");
    }
    std::memcpy(out, source->data + source->offset, length);
    source->offset += length;
}

// Holds libpng to a screen picture's needs before the first chunk is read.
void limitChunks(png_structp png) {
    png_set_user_limits(png, PNG_MAX_SIDE, PNG_MAX_SIDE);
    png_set_chunk_malloc_max(png, CHUNK_MEMORY_LIMIT);
    png_set_chunk_cache_max(png, 1); // no ancillary chunk is kept, so one is plenty
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    // -1: every chunk libpng would process itself, but IHDR, PLTE, tRNS, IDAT and IEND.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_set_benign_errors(png, 0); // "benign" errors refuse the file too
}

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
bool readHeader(png_structp png, png_infop info, ByteSource& source, RowLayout& layout) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_set_read_fn(png, &source, readFromBytes);
    limitChunks(png);
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
    const std::optional<std::vector<unsigned char>> bytes = readRegularFile(path, PNG_MAX_FILE_BYTES);
    if (!bytes) {
        return std::nullopt;
    }
    return decodePngBytes(bytes->data(), bytes->size());
}

std::optional<DecodedImage> decodePngBytes(const unsigned char* data, std::size_t size) {
    if (data == nullptr) {
        return std::nullopt;
    }
    ByteSource source{data, size};
    const PngReader reader;
    RowLayout layout;
    if (!reader.valid() || !readHeader(reader.png(), reader.info(), source, layout) ||
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

bool fillTexture(GLuint texture, const DecodedImage& image) {
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    if (texture == 0 || static_cast<GLsizei>(image.width) > maxSide ||
        static_cast<GLsizei>(image.height) > maxSide) {
        return false;
    }
    GLint previousTexture = 0;
    GLint previousAlignment = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previousTexture);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);

    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1); // rows of any width are packed end to end
    // The picture goes up at its native size, so a picture of any width shows
    // one texel per pixel instead of being rescaled to a power of two.
    const GLenum format = image.channels == RGBA_CHANNELS ? GL_RGBA : GL_RGB;
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format),
                 static_cast<GLsizei>(image.width), static_cast<GLsizei>(image.height), 0,
                 format, GL_UNSIGNED_BYTE, image.pixels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previousTexture));
    return true;
}
