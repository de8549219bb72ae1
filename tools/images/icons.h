// icons.h: the application icon at every size the desktop asks for.
//
// Stateless builders called by the generator's main, which writes each size
// as assets/icons/quillory_<N>.png. The small sizes are separate, simpler art
// (a bold white Q on a teal tile) so that they stay legible at 16 pixels.
#pragma once

#include "tools/images/raster.h"
#include "tools/images/text.h"

#include <array>

namespace art {

// One square icon: its colours and the coverage of its tile (alpha), same size.
struct Icon {
    Raster colour;
    Raster coverage; // red channel 0..1: how much of each pixel the icon covers
};

// Every side length, in pixels, that the icon is made at.
inline constexpr std::array<int, 6> kIconSizes{16, 32, 48, 64, 128, 256};

// Paints the icon `size` pixels square; faces come from `library`.
Icon buildIcon(const FontLibrary& library, int size);

} // namespace art
