// png_texture_test.cpp: the PNG loader, compiled with AddressSanitizer and UBSan.
//
// The odd files are written at test time: the valid ones through libpng's full
// writing API with the colour type, bit depth and interlacing under test, the
// broken ones by hand from the bytes of a good file.
#include "media/png_texture.h"

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <png.h>
#include <sanitizer/lsan_interface.h>
#include <zlib.h>

#include "tests/support/gl_window.h"
#include "tests/support/run_folder.h"

namespace {

using Bytes = std::vector<unsigned char>;

// The GL driver is unloaded before the exit-time leak check and leaves blocks
// no suppression can name, so the program checks for leaks after its last
// test, while the driver is still loaded (CTest turns the exit-time check off).
class LeakCheckAfterTests : public testing::Environment {
  public:
    void TearDown() override { EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0); }
};
[[maybe_unused]] const testing::Environment* const leakCheck =
    testing::AddGlobalTestEnvironment(new LeakCheckAfterTests);

// What a file written by writePngFile holds.
struct PngFile {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 8;
    int colourType = PNG_COLOR_TYPE_RGB;
    int interlace = PNG_INTERLACE_NONE;
    std::vector<Bytes> rows;               // rows as the file stores them (packed, big-endian)
    std::vector<png_color> palette;        // PLTE of a palette image
    Bytes paletteAlpha;                    // tRNS of a palette image
    std::optional<png_color_16> keyColour; // tRNS of a grey or RGB image
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

class PngWriter {
  public:
    PngWriter()
        : png_(png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr)),
          info_(png_ != nullptr ? png_create_info_struct(png_) : nullptr) {}
    ~PngWriter() { png_destroy_write_struct(&png_, &info_); }
    PngWriter(const PngWriter&) = delete;
    PngWriter& operator=(const PngWriter&) = delete;

    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

  private:
    png_structp png_;
    png_infop info_;
};

// The libpng calls of a write; holds nothing with a destructor, since libpng
// reports errors by longjmp.
bool writeSteps(png_structp png, png_infop info, std::FILE* file, const PngFile& picture,
                png_bytepp rows) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, picture.width, picture.height, picture.bitDepth, picture.colourType,
                 picture.interlace, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!picture.palette.empty()) {
        png_set_PLTE(png, info, picture.palette.data(), static_cast<int>(picture.palette.size()));
    }
    if (!picture.paletteAlpha.empty()) {
        png_set_tRNS(png, info, picture.paletteAlpha.data(),
                     static_cast<int>(picture.paletteAlpha.size()), nullptr);
    }
    if (picture.keyColour) {
        png_set_tRNS(png, info, nullptr, 0, &*picture.keyColour);
    }
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    return true;
}

void writePngFile(const std::filesystem::path& path, const PngFile& picture) {
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    ASSERT_NE(file, nullptr) << path;
    const PngWriter writer;
    ASSERT_NE(writer.info(), nullptr);
    std::vector<png_bytep> rows;
    for (const Bytes& row : picture.rows) {
        rows.push_back(const_cast<png_bytep>(row.data()));
    }
    ASSERT_TRUE(writeSteps(writer.png(), writer.info(), file.get(), picture, rows.data())) << path;
}

std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Everything `action` writes to standard output and standard error.
std::string printedBy(const std::function<void()>& action) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    action();
    std::string printed = testing::internal::GetCapturedStdout();
    printed += testing::internal::GetCapturedStderr();
    return printed;
}

// Decodes `path`, requiring that nothing is printed.
std::optional<DecodedImage> decodeQuietly(const std::filesystem::path& path) {
    std::optional<DecodedImage> image;
    EXPECT_EQ(printedBy([&] { image = decodePng(path.c_str()); }), "");
    return image;
}

// ---- Hand-built bytes -------------------------------------------------------

const std::string PNG_SIGNATURE = "\x89PNG\r\n\x1a\n";
constexpr std::size_t CHUNK_HEAD = 8;    // bytes of length and type before a chunk's data
constexpr std::size_t HEADER_DATA = 13;  // bytes of IHDR data
constexpr std::size_t HEADER_CHUNK = 25; // bytes of the whole IHDR chunk, CRC included

void appendBigEndian32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
}

// One chunk: length, type, data and a correct CRC.
std::string chunk(const std::string& type, const std::string& data) {
    std::string out;
    appendBigEndian32(out, static_cast<std::uint32_t>(data.size()));
    const std::string body = type + data;
    out += body;
    const auto crc =
        crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
    appendBigEndian32(out, static_cast<std::uint32_t>(crc));
    return out;
}

std::string headerChunk(std::uint32_t width, std::uint32_t height) {
    std::string data;
    appendBigEndian32(data, width);
    appendBigEndian32(data, height);
    // Bit depth, colour type, compression, filter, interlacing.
    data += std::string{8, PNG_COLOR_TYPE_RGB, 0, 0, 0};
    return chunk("IHDR", data);
}

std::string compressed(const std::string& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string out(size, '\0');
    compress(reinterpret_cast<Bytef*>(out.data()), &size,
             reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()));
    out.resize(size);
    return out;
}

// A width x height RGB gradient; neighbouring pixels differ.
PngFile gradientRgb(png_uint_32 width, png_uint_32 height) {
    PngFile picture;
    picture.width = width;
    picture.height = height;
    for (png_uint_32 y = 0; y < height; ++y) {
        Bytes row;
        for (png_uint_32 x = 0; x < width; ++x) {
            row.push_back(static_cast<unsigned char>(x * 7));
            row.push_back(static_cast<unsigned char>(y * 11));
            row.push_back(static_cast<unsigned char>(x + y));
        }
        picture.rows.push_back(row);
    }
    return picture;
}

Bytes gradientPixels(const PngFile& picture) {
    Bytes pixels;
    for (const Bytes& row : picture.rows) {
        pixels.insert(pixels.end(), row.begin(), row.end());
    }
    return pixels;
}

// ---- Files that decode --------------------------------------------------------

struct DecodeCase {
    const char* name;
    PngFile file;
    int channels;
    Bytes pixels; // expected, first file row first
};

// Cases print as their names, which CTest then uses for the test names.
void PrintTo(const DecodeCase& c, std::ostream* out) {
    *out << c.name;
}

Bytes big16(std::initializer_list<int> samples) {
    Bytes out;
    for (int sample : samples) {
        out.push_back(static_cast<unsigned char>(sample >> 8));
        out.push_back(static_cast<unsigned char>(sample & 0xFF));
    }
    return out;
}

PngFile file(png_uint_32 width, png_uint_32 height, int bitDepth, int colourType,
             std::vector<Bytes> rows) {
    PngFile picture;
    picture.width = width;
    picture.height = height;
    picture.bitDepth = bitDepth;
    picture.colourType = colourType;
    picture.rows = std::move(rows);
    return picture;
}

const std::vector<png_color> FOUR_COLOURS = {
    {200, 10, 20}, {30, 180, 40}, {50, 60, 170}, {1, 2, 3}};

std::vector<DecodeCase> decodeCases() {
    std::vector<DecodeCase> cases;

    PngFile palette8 = file(2, 2, 8, PNG_COLOR_TYPE_PALETTE, {{0, 1}, {2, 3}});
    palette8.palette = FOUR_COLOURS;
    cases.push_back({"Palette8Bit", palette8, 3, {200, 10, 20, 30, 180, 40, 50, 60, 170, 1, 2, 3}});

    // Three 4-bit indices a row: odd width, half a byte left over.
    PngFile palette4 = file(3, 2, 4, PNG_COLOR_TYPE_PALETTE, {{0x01, 0x20}, {0x32, 0x10}});
    palette4.palette = FOUR_COLOURS;
    cases.push_back({"Palette4BitOddWidth",
                     palette4,
                     3,
                     {200, 10, 20, 30, 180, 40, 50, 60, 170, 1, 2, 3, 50, 60, 170, 30, 180, 40}});

    // tRNS shorter than the palette: the entries past it are opaque.
    PngFile paletteTrns = palette8;
    paletteTrns.paletteAlpha = {0, 128};
    cases.push_back({"PaletteWithTrns",
                     paletteTrns,
                     4,
                     {200, 10, 20, 0, 30, 180, 40, 128, 50, 60, 170, 255, 1, 2, 3, 255}});

    cases.push_back({"Grey1Bit",
                     file(3, 1, 1, PNG_COLOR_TYPE_GRAY, {{0b10100000}}),
                     3,
                     {255, 255, 255, 0, 0, 0, 255, 255, 255}});
    cases.push_back({"Grey8Bit",
                     file(3, 1, 8, PNG_COLOR_TYPE_GRAY, {{0, 100, 255}}),
                     3,
                     {0, 0, 0, 100, 100, 100, 255, 255, 255}});
    cases.push_back({"GreyAlpha8Bit",
                     file(2, 1, 8, PNG_COLOR_TYPE_GRAY_ALPHA, {{90, 255, 40, 7}}),
                     4,
                     {90, 90, 90, 255, 40, 40, 40, 7}});
    // 16-bit samples that are whole multiples of 257 map to exact 8-bit values.
    cases.push_back({"Grey16Bit",
                     file(2, 1, 16, PNG_COLOR_TYPE_GRAY, {big16({0x4040, 0xFFFF})}),
                     3,
                     {0x40, 0x40, 0x40, 0xFF, 0xFF, 0xFF}});
    cases.push_back({"Rgb16Bit",
                     file(1, 2, 16, PNG_COLOR_TYPE_RGB,
                          {big16({0x1010, 0x2020, 0x3030}), big16({0xF0F0, 0, 0x8080})}),
                     3,
                     {0x10, 0x20, 0x30, 0xF0, 0x00, 0x80}});
    cases.push_back(
        {"Rgba16Bit",
         file(1, 1, 16, PNG_COLOR_TYPE_RGB_ALPHA, {big16({0x0101, 0x0202, 0x0303, 0x7F7F})}),
         4,
         {1, 2, 3, 0x7F}});
    cases.push_back({"Rgba8Bit",
                     file(2, 1, 8, PNG_COLOR_TYPE_RGB_ALPHA, {{1, 2, 3, 4, 5, 6, 7, 8}}),
                     4,
                     {1, 2, 3, 4, 5, 6, 7, 8}});

    PngFile rgbKey = file(2, 1, 8, PNG_COLOR_TYPE_RGB, {{10, 20, 30, 11, 20, 30}});
    rgbKey.keyColour = png_color_16{0, 10, 20, 30, 0};
    cases.push_back({"RgbWithTrnsKey", rgbKey, 4, {10, 20, 30, 0, 11, 20, 30, 255}});

    PngFile greyKey = file(2, 1, 8, PNG_COLOR_TYPE_GRAY, {{77, 78}});
    greyKey.keyColour = png_color_16{0, 0, 0, 0, 77};
    cases.push_back({"GreyWithTrnsKey", greyKey, 4, {77, 77, 77, 0, 78, 78, 78, 255}});

    PngFile interlaced = gradientRgb(9, 9);
    interlaced.interlace = PNG_INTERLACE_ADAM7;
    cases.push_back({"InterlacedRgb", interlaced, 3, gradientPixels(interlaced)});

    PngFile interlacedPalette = palette4;
    interlacedPalette.interlace = PNG_INTERLACE_ADAM7;
    cases.push_back({"InterlacedPalette4Bit", interlacedPalette, 3, cases[1].pixels});
    return cases;
}

class DecodePngTest : public testing::TestWithParam<DecodeCase> {
  protected:
    testsupport::RunFolder folder;
};

TEST_P(DecodePngTest, ExpandsTo8BitRgbOrRgba) {
    const DecodeCase& c = GetParam();
    const auto path = folder.file("case.png");
    ASSERT_NO_FATAL_FAILURE(writePngFile(path, c.file));
    const std::optional<DecodedImage> image = decodeQuietly(path);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->width, c.file.width);
    EXPECT_EQ(image->height, c.file.height);
    EXPECT_EQ(image->channels, c.channels);
    EXPECT_EQ(image->pixels, c.pixels);
}

INSTANTIATE_TEST_SUITE_P(ColourTypes, DecodePngTest, testing::ValuesIn(decodeCases()));

TEST(DecodePngSize, SidesUpToTheLimitAreAcceptedAndLargerRefused) {
    const testsupport::RunFolder folder;
    const auto path = folder.file("side.png");
    for (const auto& [width, height] : {std::pair{PNG_MAX_SIDE, 1u}, std::pair{1u, PNG_MAX_SIDE}}) {
        ASSERT_NO_FATAL_FAILURE(writePngFile(path, gradientRgb(width, height)));
        const std::optional<DecodedImage> image = decodeQuietly(path);
        ASSERT_TRUE(image.has_value()) << width << " x " << height;
        EXPECT_EQ(image->pixels.size(), std::size_t{width} * height * 3);
    }
    for (const auto& [width, height] :
         {std::pair{PNG_MAX_SIDE + 1, 1u}, std::pair{1u, PNG_MAX_SIDE + 1}}) {
        ASSERT_NO_FATAL_FAILURE(writePngFile(path, gradientRgb(width, height)));
        EXPECT_FALSE(decodeQuietly(path).has_value()) << width << " x " << height;
    }
}

// ---- Files that must be refused ----------------------------------------------

struct FaultCase {
    const char* name;
    // The file's bytes made from a good PNG's bytes; nullopt leaves no file at all.
    std::function<std::optional<std::string>(const std::string& good)> make;
};

void PrintTo(const FaultCase& c, std::ostream* out) {
    *out << c.name;
}

std::size_t chunkOffset(const std::string& png, const char* type) {
    return png.find(type) - 4; // the length field comes before the type
}

std::vector<FaultCase> faultCases() {
    return {
        {"MissingFile", [](const std::string&) { return std::nullopt; }},
        {"EmptyFile", [](const std::string&) { return std::string(); }},
        {"RandomBytes",
         [](const std::string&) {
             std::mt19937 random(12345);
             std::string bytes(4096, '\0');
             for (char& byte : bytes) {
                 byte = static_cast<char>(random() & 0xFF);
             }
             bytes[0] = 'x';
             return bytes;
         }},
        {"WrongSignature",
         [](const std::string& good) {
             std::string bytes = good;
             bytes[1] = 'Q';
             return bytes;
         }},
        {"SignatureOnly", [](const std::string&) { return PNG_SIGNATURE; }},
        {"HeaderOnly",
         [](const std::string& good) {
             return good.substr(0, chunkOffset(good, "IHDR") + HEADER_CHUNK);
         }},
        {"TruncatedInImageData",
         [](const std::string& good) {
             return good.substr(0, chunkOffset(good, "IDAT") + CHUNK_HEAD + 20);
         }},
        {"TruncatedBeforeEnd",
         [](const std::string& good) { return good.substr(0, chunkOffset(good, "IEND")); }},
        {"ImageDataCrcMismatch",
         [](const std::string& good) {
             std::string bytes = good;
             bytes[chunkOffset(good, "IDAT") + CHUNK_HEAD + 10] ^= 0x55;
             return bytes;
         }},
        {"CorruptCompressedData",
         [](const std::string&) {
             return PNG_SIGNATURE + headerChunk(16, 16) + chunk("IDAT", "this is no zlib stream") +
                    chunk("IEND", "");
         }},
        {"BadBitDepth",
         [](const std::string& good) {
             std::string data = good.substr(chunkOffset(good, "IHDR") + CHUNK_HEAD, HEADER_DATA);
             data[8] = 3; // no colour type has 3-bit samples
             return PNG_SIGNATURE + chunk("IHDR", data) +
                    good.substr(chunkOffset(good, "IHDR") + HEADER_CHUNK);
         }},
        // A valid header for 1,000,000 x 1,000,000 pixels: 3 TB of rows, were it believed.
        {"MillionByMillionHeader",
         [](const std::string&) {
             return PNG_SIGNATURE + headerChunk(1'000'000, 1'000'000) +
                    chunk("IDAT", compressed(std::string(1024, '\0'))) + chunk("IEND", "");
         }},
    };
}

class DecodePngFaultTest : public testing::TestWithParam<FaultCase> {
  protected:
    testsupport::RunFolder folder;
};

TEST_P(DecodePngFaultTest, RefusedQuietly) {
    const auto goodPath = folder.file("good.png");
    ASSERT_NO_FATAL_FAILURE(writePngFile(goodPath, gradientRgb(16, 16)));
    const std::string good = readBytes(goodPath);
    ASSERT_TRUE(decodeQuietly(goodPath).has_value()) << "the file the faults start from";

    const auto path = folder.file("fault.png");
    if (const std::optional<std::string> bytes = GetParam().make(good)) {
        folder.overwrite("fault.png", *bytes);
    }
    EXPECT_FALSE(decodeQuietly(path).has_value());
}

INSTANTIATE_TEST_SUITE_P(Faults, DecodePngFaultTest, testing::ValuesIn(faultCases()));

// ---- Textures ---------------------------------------------------------------

GLint levelParameter(GLint level, GLenum name) {
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    return value;
}

GLint textureParameter(GLenum name) {
    GLint value = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

Bytes levelZero(GLuint texture, GLenum format, std::size_t size) {
    Bytes pixels(size);
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

class FillTextureTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(testsupport::ensureGlWindow()); }

    // Writes `picture`, decodes it and uploads it into a new texture, as the
    // screen pictures are loaded, requiring that nothing is printed.
    GLuint load(const PngFile& picture) {
        const auto path = folder.file("texture.png");
        writePngFile(path, picture);
        GLuint texture = 0;
        EXPECT_EQ(printedBy([&] {
                      const std::optional<DecodedImage> image = decodePng(path.c_str());
                      glGenTextures(1, &texture);
                      if (!image || !fillTexture(texture, *image)) {
                          texture = 0;
                      }
                  }),
                  "");
        return texture;
    }

    testsupport::RunFolder folder;
};

TEST_F(FillTextureTest, ScreenSizedPictureKeepsItsSizeAtLevelZeroAlone) {
    const PngFile picture = gradientRgb(1024, 768);
    const GLuint texture = load(picture);
    ASSERT_NE(texture, 0u);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glBindTexture(GL_TEXTURE_2D, texture);
    EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_S), GL_CLAMP);
    EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_T), GL_CLAMP);
    EXPECT_EQ(textureParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(textureParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    // Level 0 is the picture at its own size, not rescaled to a power of two,
    // and no other level is made: linear minification never samples one.
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), 1024);
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_HEIGHT), 768);
    EXPECT_EQ(levelParameter(1, GL_TEXTURE_WIDTH), 0);
    EXPECT_EQ(levelZero(texture, GL_RGB, gradientPixels(picture).size()), gradientPixels(picture));
}

TEST_F(FillTextureTest, OddWidthRowsArriveIntactAndUploadStateIsRestored) {
    GLuint other = 0;
    glGenTextures(1, &other);
    glBindTexture(GL_TEXTURE_2D, other);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);

    const PngFile picture = gradientRgb(5, 3); // 15-byte rows
    const GLuint texture = load(picture);
    ASSERT_NE(texture, 0u);
    GLint binding = 0;
    GLint alignment = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &binding);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(binding, static_cast<GLint>(other));
    EXPECT_EQ(alignment, 8);
    EXPECT_EQ(levelZero(texture, GL_RGB, 5 * 3 * 3), gradientPixels(picture));
}

TEST_F(FillTextureTest, AlphaIsKeptOnlyWhenTheFileHasIt) {
    const GLuint opaque = load(file(2, 1, 8, PNG_COLOR_TYPE_RGB, {{1, 2, 3, 4, 5, 6}}));
    ASSERT_NE(opaque, 0u);
    EXPECT_EQ(levelZero(opaque, GL_RGBA, 8), (Bytes{1, 2, 3, 255, 4, 5, 6, 255}));
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_ALPHA_SIZE), 0);

    const GLuint translucent =
        load(file(2, 1, 8, PNG_COLOR_TYPE_RGB_ALPHA, {{1, 2, 3, 40, 4, 5, 6, 200}}));
    ASSERT_NE(translucent, 0u);
    EXPECT_EQ(levelZero(translucent, GL_RGBA, 8), (Bytes{1, 2, 3, 40, 4, 5, 6, 200}));
    EXPECT_GT(levelParameter(0, GL_TEXTURE_ALPHA_SIZE), 0);
}

TEST_F(FillTextureTest, TextureZeroAndPicturesTooLargeForTheGlAreRefusedUntouched) {
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    DecodedImage tooWide;
    tooWide.width = static_cast<std::uint32_t>(maxSide) + 1;
    tooWide.height = 1;
    tooWide.channels = 3;
    tooWide.pixels.resize(tooWide.width * 3);
    const GLuint texture = load(gradientRgb(4, 4));
    ASSERT_NE(texture, 0u);
    EXPECT_FALSE(fillTexture(texture, tooWide));
    glBindTexture(GL_TEXTURE_2D, texture);
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), 4);

    DecodedImage small = tooWide;
    small.width = 1;
    small.pixels.resize(3);
    EXPECT_FALSE(fillTexture(0, small));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
