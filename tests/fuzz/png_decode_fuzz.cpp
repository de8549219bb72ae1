// png_decode_fuzz.cpp: libFuzzer target for the PNG loader's decode, the step
// that reads bytes anyone can swap in as a screen picture. Any input must be
// decoded or refused without a fault, a leak or a large allocation.
#include <cstddef>
#include <cstdint>

#include "media/png_texture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    decodePngBytes(data, size);
    return 0;
}
