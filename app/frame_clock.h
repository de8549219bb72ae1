// frame_clock.h: measures the time between display passes.
//
// Owns the time stamps of the last two frames. The display pass ticks it once
// per frame; an over-long frame clears the buffers, since play frames do not
// clear them themselves. Created on first use, never destroyed.
#pragma once

#include <cstdint>

// Longest frame delta, in seconds; a longer frame is capped and clears the buffers.
inline constexpr double MAX_FRAME_DELTA = 0.12;

class FrameClock {
public:
    // The first call reads GLUT's elapsed time, so GLUT must be initialised.
    static FrameClock& instance();

    // Ticks with GLUT's elapsed time; needs a current GL context.
    void tick();
    // Ticks with `nowMs`; returns true when the frame was over-long (buffers cleared).
    bool tickAt(std::int32_t nowMs);

    std::int32_t lastTime = 0; // milliseconds, previous tick (creation at first)
    std::int32_t now = 0;      // milliseconds, latest tick
    double delta = 0.0;        // seconds between the last two ticks, at most MAX_FRAME_DELTA

    // Constructs a clock whose previous tick was at `startMs` (tests make their own).
    explicit FrameClock(std::int32_t startMs) : lastTime(startMs) {}
};

// Seconds from `lastMs` to `nowMs`, the difference taken as unsigned 32-bit so
// that a wrapped counter still gives the small positive delta.
double frameDelta(std::int32_t lastMs, std::int32_t nowMs);
