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
constexpr int kBytesPerPixel = 3;   // RGB
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

} // namespace

void writePng(const Raster& raster, const std::string& path) {
    std::vector<std::uint8_t> bytes = raster.toRgb8();
    const std::size_t stride = static_cast<std::size_t>(raster.width()) * kBytesPerPixel;
    std::vector<png_bytep> rows;
    for (int y = 0; y < raster.height(); ++y) {
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
    png_set_IHDR(handles.png(), handles.info(), static_cast<png_uint_32>(raster.width()),
                 static_cast<png_uint_32>(raster.height()), kBitDepth, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(handles.png(), handles.info());
    png_write_image(handles.png(), rows.data());
    png_write_end(handles.png(), handles.info());
}

} // namespace art
