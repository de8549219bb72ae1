// startup_bench.cpp: how long the real game takes from launch to its first
// frame (window, glyph font, screen images, audio), as a player sees it: the
// time until the title picture is on the screen, against the same for a bare
// GLUT window of the same size and display mode (bench/bare_window.cpp).
//
// The two are launched in alternating pairs, the order swapped every pair, so
// that a machine busy with other work slows both alike; it reports every pair,
// the medians and the median of the pairs' ratios.
//
// Run under an X server (DISPLAY set): build/bench/startup_bench [PAIRS [GAME]],
// where GAME is another build of the game to measure instead of this one's.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <X11/Xutil.h>

#include "app/game_window.h"
#include "tests/support/game_process.h"
#include "tests/support/png_io.h"
#include "tests/support/run_folder.h"
#include "tests/support/x11_window.h"

namespace {

constexpr const char* BARE_TITLE = "Quillory bare window";
constexpr auto GIVE_UP = std::chrono::seconds(20);
constexpr int PROBE_X = 512;                   // window column probed for the first frame
constexpr int LIGHT = 200;                     // a channel above this may be the white clear
constexpr std::array<int, 3> MARKER = {255, 0, 255}; // the bare window's clear colour
constexpr int DEFAULT_PAIRS = 15;
constexpr auto SETTLE = std::chrono::milliseconds(200); // between launches, for the server
constexpr int RED_SHIFT = 16;
constexpr int GREEN_SHIFT = 8;
constexpr unsigned long CHANNEL_MASK = 0xff;

using Clock = std::chrono::steady_clock;
using Rgb = std::array<int, 3>;

// A pixel of the title picture that is not white, so the white clear before
// the picture cannot pass for it.
std::pair<int, int> titleProbe(const testsupport::Image& image) {
    for (int y = 0; y < image.height; ++y) {
        const unsigned char* p = image.at(PROBE_X, y);
        if (p[0] < LIGHT || p[1] < LIGHT || p[2] < LIGHT) {
            return {PROBE_X, y};
        }
    }
    return {PROBE_X, 0};
}

Rgb windowPixel(const testsupport::XConnection& x, Window window, int px, int py) {
    XImage* image = XGetImage(x.display(), window, px, py, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) {
        return {-1, -1, -1};
    }
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return {static_cast<int>((pixel >> RED_SHIFT) & CHANNEL_MASK),
            static_cast<int>((pixel >> GREEN_SHIFT) & CHANNEL_MASK),
            static_cast<int>(pixel & CHANNEL_MASK)};
}

// Milliseconds from launching `binary` in `dir` until its window titled
// `title` shows `want` at (px, py); empty when it never does.
std::optional<double> launchToColour(const testsupport::XConnection& x, const std::string& binary,
                                     const std::string& dir, const char* title, int px, int py,
                                     const Rgb& want) {
    const auto start = Clock::now();
    testsupport::GameProcess process({binary}, dir, {{"SDL_AUDIODRIVER", "dummy"}});
    const auto window = x.waitForWindow(title, GIVE_UP);
    while (window && Clock::now() - start < GIVE_UP) {
        if (windowPixel(x, *window, px, py) == want) {
            return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        }
    }
    return std::nullopt;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    const int pairs = argc > 1 ? std::max(1, std::atoi(argv[1])) : DEFAULT_PAIRS;
    const std::string gameBinary = argc > 2 ? argv[2] : QUILLORY_BINARY;
    const testsupport::RunFolder run;
    const testsupport::XConnection x;
    if (x.display() == nullptr) {
        std::fprintf(stderr, "startup_bench: no X server on $DISPLAY\n");
        return 1;
    }
    const testsupport::Image title =
        testsupport::readPngRgb(run.file("images/titlescreen.png").string());
    const auto [px, py] = titleProbe(title);
    const unsigned char* p = title.at(px, py);
    const Rgb titleColour = {p[0], p[1], p[2]};

    std::vector<double> game;
    std::vector<double> bare;
    std::vector<double> ratios;
    std::printf("pair  game ms  bare ms  ratio\n");
    for (int i = 0; i < pairs; ++i) {
        std::optional<double> gameMs;
        std::optional<double> bareMs;
        const auto launchGame = [&] {
            gameMs = launchToColour(x, gameBinary, run.path().string(), WINDOW_TITLE, px, py,
                                    titleColour);
            std::this_thread::sleep_for(SETTLE);
        };
        const auto launchBare = [&] {
            bareMs = launchToColour(x, BARE_WINDOW_BINARY, run.path().string(), BARE_TITLE, px, py,
                                    MARKER);
            std::this_thread::sleep_for(SETTLE);
        };
        if (i % 2 == 0) {
            launchGame();
            launchBare();
        } else {
            launchBare();
            launchGame();
        }
        if (!gameMs || !bareMs) {
            std::fprintf(stderr, "startup_bench: a first frame never appeared\n");
            return 1;
        }
        game.push_back(*gameMs);
        bare.push_back(*bareMs);
        ratios.push_back(*gameMs / *bareMs);
        std::printf("%4d  %7.1f  %7.1f  %5.2f\n", i + 1, *gameMs, *bareMs, ratios.back());
    }
    std::printf("median game %.1f ms, bare %.1f ms; median pair ratio %.2f, ratio of medians %.2f\n",
                median(game), median(bare), median(ratios), median(game) / median(bare));
}
