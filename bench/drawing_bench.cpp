// drawing_bench.cpp: frames per second of the live view's display pass for
// drawings of 1,000, 10,000 and 50,000 segments, beside a bare loop that sends
// exactly the same GL primitives from precomputed vertices: the renderer's own
// limit. Needs $DISPLAY; prints both rates and the ratio of their frame times.
#include <GL/freeglut.h>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/game_window.h"
#include "drawing/palette.h"
#include "bench/random_drawing.h"
#include "drawing/pen.h"
#include "tests/support/gl_window.h"

namespace {

constexpr std::int64_t SEGMENT_COUNTS[] = {1000, 10000, 50000};
constexpr int VERTICES_PER_POLYGON = 4;
constexpr int REPETITIONS = 9;
constexpr double BUDGET = 1.1; // the live view may cost this multiple of the bare loop

// One stroke of the bare loop: its colour and its run of quadrilaterals.
struct BareStroke {
    RgbColor color;
    std::size_t polygonCount;
};

// A frame as flat data: per stroke a colour and polygons, then the pen line.
struct BareFrame {
    std::vector<BareStroke> strokes;
    std::vector<float> xy; // x, y of every polygon vertex in drawing order
    Segment penLine;       // a copy of the pen segment
};

struct Scene {
    Drawing drawing;
    BareFrame bare;
};

void openWindow() {
    testsupport::ensureGlWindow();
    // The game's render state and fixed view.
    glShadeModel(GL_FLAT);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    testsupport::useGameView();
}

void pushQuad(std::vector<float>& xy, float ax, float ay, float bx, float by, float cx, float cy,
              float dx, float dy) {
    xy.insert(xy.end(), {ax, ay, bx, by, cx, cy, dx, dy});
}

// The vertices the live view sends, worked out once.
BareFrame flatten(const Drawing& drawing) {
    BareFrame frame{};
    for (int s = 0; s < drawing.strokeCount(); ++s) {
        const Stroke& stroke = drawing.stroke(s);
        const float w = stroke.width();
        const int n = stroke.segmentCount();
        for (int i = 0; i < n; ++i) {
            const Segment& a = stroke.segment(i);
            const float ox = a.directionY() * w * 0.5f;
            const float oy = -a.directionX() * w * 0.5f;
            pushQuad(frame.xy, a.startX() + ox, a.startY() + oy, a.endX() + ox, a.endY() + oy,
                     a.endX() - ox, a.endY() - oy, a.startX() - ox, a.startY() - oy);
            if (i + 1 < n) {
                const Segment& b = stroke.segment(i + 1);
                const float px = b.directionY() * w * 0.5f;
                const float py = -b.directionX() * w * 0.5f;
                pushQuad(frame.xy, a.endX() + ox, a.endY() + oy, b.startX() + px, b.startY() + py,
                         a.endX() - ox, a.endY() - oy, b.startX() - px, b.startY() - py);
            }
        }
        // A band per segment and a join per bend.
        frame.strokes.push_back({stroke.color(), static_cast<std::size_t>(n > 0 ? 2 * n - 1 : 0)});
    }
    frame.penLine = penSegment;
    return frame;
}

void drawBare(const BareFrame& frame) {
    const float* v = frame.xy.data();
    for (const BareStroke& stroke : frame.strokes) {
        glColor4f(stroke.color.red, stroke.color.green, stroke.color.blue, 1);
        for (std::size_t p = 0; p < stroke.polygonCount; ++p) {
            glBegin(GL_POLYGON);
            for (int k = 0; k < VERTICES_PER_POLYGON; ++k) {
                glVertex2f(v[0], v[1]);
                v += 2;
            }
            glEnd();
        }
    }
    glBegin(GL_LINES);
    glVertex2f(frame.penLine.startX(), frame.penLine.startY());
    glVertex2f(frame.penLine.endX(), frame.penLine.endY());
    glEnd();
}

std::vector<unsigned char> framePixels() {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(WINDOW_WIDTH) * WINDOW_HEIGHT * 3);
    glFinish();
    glReadPixels(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// The scene of a given size, built on first use so that both loops draw the
// same geometry; null when the bare loop does not reproduce the live view.
const Scene* sceneOf(std::int64_t segments) {
    static std::map<std::int64_t, std::unique_ptr<Scene>> scenes;
    auto& slot = scenes[segments];
    if (!slot) {
        slot = std::make_unique<Scene>();
        fillDrawing(slot->drawing, segments);
        slot->bare = flatten(slot->drawing);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawLiveView(slot->drawing);
        const auto live = framePixels();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawBare(slot->bare);
        if (framePixels() != live) {
            slot.reset();
        }
    }
    return slot.get();
}

// Seconds taken by `draw` and the GL work it queued.
template <typename Draw> double timed(Draw draw) {
    const auto start = std::chrono::steady_clock::now();
    draw();
    glFinish();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// One live-view pass and one bare pass per iteration, each timed up to the end
// of its GL work, taking turns at going first. Interleaving the two frame by
// frame lets both see the same machine load, which swamps separate runs on a
// busy two-core box. The iteration time reported is the live pass's.
void liveViewAgainstBareLoop(benchmark::State& state) {
    const Scene* scene = sceneOf(state.range(0));
    if (scene == nullptr) {
        state.SkipWithError("the bare loop does not draw what the live view draws");
        return;
    }
    double liveSeconds = 0.0;
    double bareSeconds = 0.0;
    bool liveFirst = true;
    for (auto _ : state) {
        const auto livePass = [scene] { drawLiveView(scene->drawing); };
        const auto barePass = [scene] { drawBare(scene->bare); };
        double live = 0.0;
        double bare = 0.0;
        if (liveFirst) {
            live = timed(livePass);
            bare = timed(barePass);
        } else {
            bare = timed(barePass);
            live = timed(livePass);
        }
        liveFirst = !liveFirst;
        liveSeconds += live;
        bareSeconds += bare;
        state.SetIterationTime(live);
    }
    const auto frames = static_cast<double>(state.iterations());
    state.counters["live_fps"] = frames / liveSeconds;
    state.counters["bare_fps"] = frames / bareSeconds;
    state.counters["ratio"] = liveSeconds / bareSeconds;
}

// Whether a run stopped before it measured anything. Google Benchmark 1.8
// replaced Run::error_occurred with Run::skipped (an error or a skip); the
// member that this version has decides.
template <typename BenchmarkRun>
bool stoppedEarly(const BenchmarkRun& run) {
    if constexpr (requires { run.skipped; }) {
        return static_cast<bool>(run.skipped);
    } else {
        return run.error_occurred;
    }
}

// The console report, then a table of the median over repetitions of each
// loop's frames per second at each size and of the live view's cost ratio.
class SummaryReporter : public benchmark::ConsoleReporter {
  public:
    SummaryReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& reports) override {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& run : reports) {
            if (run.run_type != Run::RT_Iteration || stoppedEarly(run)) {
                continue;
            }
            Figures& figures = figures_[run.run_name.args];
            figures.live.push_back(run.counters.at("live_fps").value);
            figures.bare.push_back(run.counters.at("bare_fps").value);
            figures.ratio.push_back(run.counters.at("ratio").value);
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%10s %14s %14s %12s\n", "segments", "live view fps", "bare loop fps",
                    "time ratio");
        bool withinBudget = true;
        for (const std::int64_t count : SEGMENT_COUNTS) {
            const auto found = figures_.find(std::to_string(count));
            if (found == figures_.end()) {
                continue;
            }
            const Figures& figures = found->second;
            const double ratio = median(figures.ratio);
            withinBudget = withinBudget && ratio <= BUDGET;
            std::printf("%10lld %14.1f %14.1f %12.3f\n", static_cast<long long>(count),
                        median(figures.live), median(figures.bare), ratio);
        }
        std::printf("live view within %.2f x the bare loop at every size: %s\n", BUDGET,
                    withinBudget ? "yes" : "no");
    }

  private:
    struct Figures {
        std::vector<double> live;
        std::vector<double> bare;
        std::vector<double> ratio;
    };

    static double median(std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    }

    std::map<std::string, Figures> figures_;
};

void registerBenchmarks() {
    for (const std::int64_t count : SEGMENT_COUNTS) {
        benchmark::RegisterBenchmark("liveViewAgainstBareLoop", liveViewAgainstBareLoop)
            ->Arg(count)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(REPETITIONS);
    }
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    openWindow();
    benchmark::AddCustomContext("renderer",
                                reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    palette.init();
    registerBenchmarks();
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
