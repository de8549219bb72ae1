// frame_clock.cpp: frame deltas from GLUT's millisecond counter.
#include "app/frame_clock.h"

#include <GL/freeglut.h>

namespace {
constexpr double SECONDS_PER_MILLISECOND = 0.001;
} // namespace

double frameDelta(std::int32_t lastMs, std::int32_t nowMs) {
    // Unsigned subtraction: after the 32-bit counter wraps, now - last is still
    // the short time that really passed.
    const std::uint32_t elapsed =
        static_cast<std::uint32_t>(nowMs) - static_cast<std::uint32_t>(lastMs);
    return static_cast<double>(elapsed) * SECONDS_PER_MILLISECOND;
}

FrameClock& FrameClock::instance() {
    // Trivially destructible, so it is in effect never destroyed.
    static FrameClock clock(glutGet(GLUT_ELAPSED_TIME));
    return clock;
}

void FrameClock::tick() { tickAt(glutGet(GLUT_ELAPSED_TIME)); }

bool FrameClock::tickAt(std::int32_t nowMs) {
    now = nowMs;
    delta = frameDelta(lastTime, now);
    const bool overLong = delta > MAX_FRAME_DELTA;
    if (overLong) {
        // Play frames do not clear; after a stall this is their only clear.
        delta = MAX_FRAME_DELTA;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    lastTime = now;
    return overLong;
}
