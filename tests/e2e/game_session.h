// game_session.h: the real game running in a private run folder, its window,
// and the player's mouse and keyboard as real X input events.
//
// By default the game is the Linux build's binary in a copy of its run folder,
// started as the launcher and ./play start it: in the run folder of the
// language the environment asks for (packaging/language.sh), English under
// the suite's LC_ALL=C. QUILLORY_GAME_FOLDER names another folder to copy
// instead, and QUILLORY_GAME_COMMAND the command, words split at spaces, that
// starts the game in the copy: ./windows sets them to the unpacked zip and
// "wine quillory.exe" to play the same tests against the Windows build.
#pragma once

#include <X11/Xlib.h>
#include <array>
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/game_window.h"
#include "tests/facts/whole_game.h"
#include "tests/support/game_process.h"
#include "tests/support/png_io.h"
#include "tests/support/run_folder.h"
#include "tests/support/x11_window.h"

namespace e2e {

using Rgb = std::array<int, 3>;

inline constexpr auto START_TIMEOUT = std::chrono::seconds(20);
inline constexpr auto STEP_TIMEOUT = std::chrono::seconds(5);

// The game, started in its own copy of the run folder.
class GameSession {
public:
    // Starts the game; `prepare` may change the run folder first.
    explicit GameSession(void (*prepare)(const testsupport::RunFolder&) = nullptr,
                         const std::map<std::string, std::string>& env = {});

    testsupport::RunFolder& folder() { return folder_; }
    testsupport::GameProcess& process() { return *process_; }
    testsupport::XConnection& x() { return x_; }
    // The game's window; fails the test when it does not appear.
    Window window();

    // Pointer and buttons, in window pixels (origin top-left of the window).
    void moveTo(int px, int py);
    void click(int button = 1);
    void buttonDown(int button = 1);
    void buttonUp(int button = 1);
    void clickAt(int px, int py) {
        moveTo(px, py);
        click();
    }
    // Types `text` with a person's pace between keys.
    void type(const std::string& text);
    // Presses one named key (xdotool's key names, e.g. "BackSpace").
    void key(const std::string& name);

    testsupport::Image screenshot();
    // Waits until the window shows the committed image `name` at every probe.
    bool waitForImage(const std::string& name, const std::vector<std::pair<int, int>>& probes);
    // Waits until standard output has `count` lines.
    bool waitForLines(std::size_t count) { return process_->waitForLines(count, STEP_TIMEOUT); }

    // The committed image `name` in the run folder's images/ ("de/gameover.png"
    // for a language's).
    testsupport::Image image(const std::string& name) const;

private:
    testsupport::RunFolder folder_;
    testsupport::XConnection x_;
    std::unique_ptr<testsupport::GameProcess> process_;
    Window window_ = 0;
};

// A player during play: presses and strokes through real input, and the
// diagnostic lines they must make the game write.
class Player {
public:
    explicit Player(GameSession& game) : game_(game) {}

    // A left click at (px, py), which writes its position line, and "in
    // bounds" after it on a Done button.
    void press(int px, int py, bool onDone = false);
    // Draws a stroke through window pixels, starting with a press.
    void drawStroke(const std::vector<std::pair<int, int>>& points);
    // The lines the game must have written so far.
    const std::vector<std::string>& expected() const { return expected_; }

private:
    GameSession& game_;
    std::vector<std::string> expected_;
};

// The colour at (px, py) of an image.
Rgb pixel(const testsupport::Image& image, int px, int py);
// Whether two colours are within `tolerance` on every channel.
bool near(const Rgb& a, const Rgb& b, int tolerance = 3);
// How many pixels of two same-sized images differ by more than `tolerance` on a channel.
std::size_t differingPixels(const testsupport::Image& a, const testsupport::Image& b,
                            int tolerance);
// Up to `count` pixels, spread over the picture, where `wanted` differs
// clearly from each of the same-sized `others`, amid pixels of its own colour:
// probes that tell it from them.
std::vector<std::pair<int, int>> distinguishingProbes(const testsupport::Image& wanted,
                                                      const std::vector<testsupport::Image>& others,
                                                      std::size_t count);
// The diagnostic line a left press at window pixel (px, py) writes.
std::string pressLine(int px, int py);
// Window pixel of scene coordinates.
int pixelX(double sceneX);
int pixelY(double sceneY);

} // namespace e2e
