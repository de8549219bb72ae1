// random_drawing.h: the benchmarks' pictures: strokes wandering over the
// canvas in the ten colours, the same for a given size on every platform.
// Used by the desktop drawing benchmark and the browser's frame-time page.
#pragma once

#include <cstdint>

#include "drawing/stroke.h"

// Adds strokes of 20 to 200 segments, `segments` in all, to `drawing`; the
// palette must be initialised.
void fillDrawing(Drawing& drawing, std::int64_t segments);
