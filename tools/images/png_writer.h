// png_writer.h: saving a finished Raster as an 8-bit RGB PNG file.
//
// Called once per screen image or icon by the generator's main; holds nothing
// between calls (the libpng handles live only inside one write).
#pragma once

#include "tools/images/raster.h"

#include <string>

namespace art {

// Writes `raster` to `path` as an 8-bit RGB PNG, best compression; throws on failure.
void writePng(const Raster& raster, const std::string& path);
// Writes `raster` with the red channel of `coverage` (same size) as alpha, as 8-bit RGBA.
void writePngWithAlpha(const Raster& raster, const Raster& coverage, const std::string& path);

} // namespace art
