// png_writer.cpp: libpng's write path with its handles and the file held by RAII.
//
// libpng reports errors by long-jumping to the point set with setjmp; that
// point is in writePng itself, whose handles are all constructed before it,
// so the exception thrown from there still releases them.
#include "tools/images/png_writer.h"

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <vector>

#include <png.h>

namespace art {
namespace {

constexpr int kBitDepth = 8;        // bits per channel
constexpr int kRgbBytes = 3;        // bytes per RGB pixel
constexpr int kRgbaBytes = 4;       // bytes per RGBA pixel
constexpr int kBestCompression = 9; // zlib level

struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using OwnedFile = std::unique_ptr<std::FILE, FileClose>;

// The libpng write structure and its info structure, destroyed together.
class PngWriteHandles {
  public:
    PngWriteHandles() {
        png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        if (png_ != nullptr) {
            info_ = png_create_info_struct(png_);
        }
        if (png_ == nullptr || info_ == nullptr) {
            png_destroy_write_struct(&png_, &info_);
            throw std::runtime_error("libpng: cannot start a write");
        }
    }
    PngWriteHandles(const PngWriteHandles&) = delete;
    PngWriteHandles& operator=(const PngWriteHandles&) = delete;
    ~PngWriteHandles() { png_destroy_write_struct(&png_, &info_); }

    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

  private:
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

// Writes `bytes` (rows top first, `channels` bytes a pixel) as a PNG of `colourType`.
void writeRows(std::vector<std::uint8_t>& bytes, int width, int height, int channels,
               int colourType, const std::string& path) {
    const std::size_t stride = static_cast<std::size_t>(width) * channels;
    std::vector<png_bytep> rows;
    for (int y = 0; y < height; ++y) {
        rows.push_back(bytes.data() + static_cast<std::size_t>(y) * stride);
    }

    OwnedFile file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        throw std::runtime_error("cannot write " + path);
    }
    PngWriteHandles handles;
    if (setjmp(png_jmpbuf(handles.png())) != 0) {
        throw std::runtime_error("libpng failed writing " + path);
    }
    png_init_io(handles.png(), file.get());
    png_set_compression_level(handles.png(), kBestCompression);
    png_set_IHDR(handles.png(), handles.info(), static_cast<png_uint_32>(width),
                 static_cast<png_uint_32>(height), kBitDepth, colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(handles.png(), handles.info());
    png_write_image(handles.png(), rows.data());
    png_write_end(handles.png(), handles.info());
}

} // namespace

void writePng(const Raster& raster, const std::string& path) {
    std::vector<std::uint8_t> bytes = raster.toRgb8();
    writeRows(bytes, raster.width(), raster.height(), kRgbBytes, PNG_COLOR_TYPE_RGB, path);
}

void writePngWithAlpha(const Raster& raster, const Raster& coverage, const std::string& path) {
    if (coverage.width() != raster.width() || coverage.height() != raster.height()) {
        throw std::runtime_error("alpha of another size than the picture for " + path);
    }
    const std::vector<std::uint8_t> rgb = raster.toRgb8();
    const std::vector<std::uint8_t> alpha = coverage.toRgb8();
    std::vector<std::uint8_t> bytes;
    bytes.reserve(rgb.size() / kRgbBytes * kRgbaBytes);
    for (std::size_t pixel = 0; pixel < rgb.size(); pixel += kRgbBytes) {
        bytes.insert(bytes.end(), rgb.begin() + static_cast<std::ptrdiff_t>(pixel),
                     rgb.begin() + static_cast<std::ptrdiff_t>(pixel + kRgbBytes));
        bytes.push_back(alpha[pixel]); // the red channel of the coverage
    }
    writeRows(bytes, raster.width(), raster.height(), kRgbaBytes, PNG_COLOR_TYPE_RGB_ALPHA, path);
}

} // namespace art
