// sharp_canvas.cpp: sizes the canvas's drawing buffer by the device's pixel
// ratio. The page shows the canvas at the window's size in CSS pixels
// (app/web/index.html), so only the buffer grows; pointer positions, taken
// from the canvas's shown box, stay in window pixels.
#include "browser/sharp_canvas.h"

#include <emscripten/emscripten.h>

#include "app/scene_view.h"

namespace {

// Above 2 device pixels a window pixel, a finer buffer costs fill rate and
// memory with no difference a player can see.
constexpr double MAX_PIXEL_RATIO = 2.0;

// clang-format off
EM_JS(double, sizeDrawingBuffer, (int windowWidth, int windowHeight, double maxRatio), {
    const ratio = Math.min(maxRatio, Math.max(1, window.devicePixelRatio || 1));
    const canvas = Module['canvas'];
    const width = Math.round(windowWidth * ratio);
    const height = Math.round(windowHeight * ratio);
    if (canvas.width !== width || canvas.height !== height) {
        canvas.width = width;
        canvas.height = height;
    }
    return width / windowWidth;
});
// clang-format on

} // namespace

double drawingBufferScale() {
    return sizeDrawingBuffer(WINDOW_WIDTH, WINDOW_HEIGHT, MAX_PIXEL_RATIO);
}
