// startup_bench.cpp: how long the real game takes from launch to its first
// frame (window, glyph font, the ten screen images, audio), as a player sees
// it: the time until the title picture is on the screen.
//
// Run under an X server: build/bench/startup_bench (DISPLAY set).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "tests/support/game_process.h"
#include "tests/support/png_io.h"
#include "tests/support/run_folder.h"
#include "tests/support/x11_window.h"

#include <X11/Xutil.h>

namespace {

constexpr const char* WINDOW_TITLE = "Quillory - Tavernel";
constexpr auto GIVE_UP = std::chrono::seconds(20);
constexpr int PROBE_X = 512; // a title pixel that is not the white clear colour
constexpr int LAUNCHES = 15;

// The first pixel of `image` whose colour is not white, as (x, y).
std::pair<int, int> nonWhitePixel(const testsupport::Image& image) {
    for (int y = 0; y < image.height; ++y) {
        const unsigned char* p = image.at(PROBE_X, y);
        if (p[0] < 200 || p[1] < 200 || p[2] < 200) {
            return {PROBE_X, y};
        }
    }
    return {PROBE_X, 0};
}

void BM_LaunchToFirstFrame(benchmark::State& state) {
    testsupport::RunFolder run;
    testsupport::XConnection x;
    const testsupport::Image title =
        testsupport::readPngRgb(run.file("images/titlescreen.png").string());
    const auto [px, py] = nonWhitePixel(title);
    const unsigned char* want = title.at(px, py);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        testsupport::GameProcess game({QUILLORY_BINARY}, run.path().string());
        const auto window = x.waitForWindow(WINDOW_TITLE, GIVE_UP);
        bool shown = false;
        while (window && !shown && std::chrono::steady_clock::now() - start < GIVE_UP) {
            XImage* image = XGetImage(x.display(), *window, px, py, 1, 1, AllPlanes, ZPixmap);
            if (image != nullptr) {
                const unsigned long pixel = XGetPixel(image, 0, 0);
                shown = ((pixel >> 16) & 0xff) == want[0] && ((pixel >> 8) & 0xff) == want[1] &&
                        (pixel & 0xff) == want[2];
                XDestroyImage(image);
            }
        }
        const auto end = std::chrono::steady_clock::now();
        if (!shown) {
            state.SkipWithError("the title picture never appeared");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}

} // namespace

BENCHMARK(BM_LaunchToFirstFrame)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(LAUNCHES)
    ->ComputeStatistics("min", [](const std::vector<double>& v) {
        return *std::min_element(v.begin(), v.end());
    });

BENCHMARK_MAIN();
