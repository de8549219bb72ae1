// startup_order_web.cpp: in the browser, the steps the title screen does not
// need run in the frame after the first. A page shows a frame only when the
// task that drew it has ended, so anything done in that task delays the title;
// building the glyph font alone takes about a tenth of a second there. No
// screen before play draws text or the palette, and play is three presses
// away, each pressed on a frame drawn after these steps.
#include "app/startup_order.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>
#include <stdexcept>

namespace {

void (*pending)() = nullptr;

// Runs the steps, in the animation frame callbacks of the frame after the
// first; a failure ends the program as it would in start-up.
EM_BOOL runPending(double /*timeMs*/, void* /*userData*/) {
    try {
        pending();
    } catch (const std::runtime_error& error) {
        std::fprintf(stderr, "quillory: %s\n", error.what());
        emscripten_force_exit(1);
    }
    return EM_FALSE;
}

// Called in the same batch of animation frame callbacks as the first display
// pass; a callback asked for here runs in the next batch, once that first
// frame is on the screen.
EM_BOOL afterFirstFrame(double /*timeMs*/, void* /*userData*/) {
    emscripten_request_animation_frame(runPending, nullptr);
    return EM_FALSE;
}

} // namespace

void runBeforePlay(void (*steps)()) {
    pending = steps;
    emscripten_request_animation_frame(afterFirstFrame, nullptr);
}
