// random_drawing.cpp: the benchmarks' pictures, from a fixed seed.
#include "bench/random_drawing.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>

#include "drawing/palette.h"
#include "drawing/pen.h"

namespace {
constexpr int MIN_STROKE_SEGMENTS = 20;
constexpr int MAX_STROKE_SEGMENTS = 200;
constexpr float MIN_STEP = 0.6f;         // scene units, just above the pen spacing
constexpr float MAX_STEP = 1.6f;         // scene units
constexpr float MAX_TURN = 0.8f;         // radians per segment, either way
constexpr float HALF_TURN = 3.14159265f; // radians
constexpr float CANVAS_INSET = 1.0f;     // scene units kept clear of the canvas edge
constexpr unsigned SEED = 1208;
} // namespace

void fillDrawing(Drawing& drawing, std::int64_t segments) {
    std::mt19937 random(SEED);
    std::uniform_real_distribution<float> spanX(
        static_cast<float>(CanvasRegion.left) + CANVAS_INSET,
        static_cast<float>(CanvasRegion.right) - CANVAS_INSET);
    std::uniform_real_distribution<float> spanY(
        static_cast<float>(CanvasRegion.bottom) + CANVAS_INSET,
        static_cast<float>(CanvasRegion.top) - CANVAS_INSET);
    std::uniform_real_distribution<float> step(MIN_STEP, MAX_STEP);
    std::uniform_real_distribution<float> turn(-MAX_TURN, MAX_TURN);
    std::uniform_real_distribution<float> heading(-HALF_TURN, HALF_TURN);
    std::uniform_int_distribution<int> length(MIN_STROKE_SEGMENTS, MAX_STROKE_SEGMENTS);
    std::uniform_int_distribution<int> colour(0, PALETTE_SIZE - 1);
    const SceneRect inner{CanvasRegion.left + CANVAS_INSET, CanvasRegion.right - CANVAS_INSET,
                          CanvasRegion.bottom + CANVAS_INSET, CanvasRegion.top - CANVAS_INSET};
    std::int64_t left = segments;
    while (left > 0) {
        const int count = static_cast<int>(std::min<std::int64_t>(length(random), left));
        left -= count;
        auto stroke = std::make_unique<Stroke>();
        stroke->setWidth(NEW_STROKE_WIDTH);
        const RgbColor c = palette.color(colour(random));
        stroke->setColor(c.red, c.green, c.blue);
        float x = spanX(random);
        float y = spanY(random);
        float angle = heading(random);
        for (int i = 0; i < count; ++i) {
            angle += turn(random);
            const float distance = step(random);
            float nx = x + distance * std::cos(angle);
            float ny = y + distance * std::sin(angle);
            if (!inner.contains(nx, ny)) {
                angle += HALF_TURN; // turn back into the canvas
                nx = x + distance * std::cos(angle);
                ny = y + distance * std::sin(angle);
            }
            if (i == 0) {
                Segment first;
                first.setStartX(x);
                first.setStartY(y);
                first.setEndX(nx);
                first.setEndY(ny);
                first.computeDirection();
                stroke->appendSegment(first);
            } else {
                stroke->extendTo(nx, ny);
            }
            x = nx;
            y = ny;
        }
        drawing.addStroke(std::move(stroke));
    }
}
