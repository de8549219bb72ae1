// font_build_fuzz.cpp: libFuzzer target for the glyph font's build from a
// font file's bytes, everything but the GL upload. Any input must give glyphs
// or one of the font failures, without a fault, a leak or a large allocation.
#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "text/glyph_font.h"

namespace {

constexpr std::uint32_t ANSWER_FONT_HEIGHT = 12; // points, the size the answers build

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        rasteriseFace(data, size, ANSWER_FONT_HEIGHT);
    } catch (const std::runtime_error&) {
        // A refused face is an expected outcome, reported by the game as a font failure.
    }
    return 0;
}
