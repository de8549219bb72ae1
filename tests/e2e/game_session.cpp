// game_session.cpp: starting, watching and driving the real game.
// GoogleTest first: Xlib's macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "tests/e2e/game_session.h"

#include "app/scene_view.h"
#include "game/input_router.h"
#include "tests/support/gl_window.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <thread>

namespace e2e {

namespace {

// The game's folder and start command, from the environment or the Linux build.
std::filesystem::path gameFolder() {
    const char* folder = std::getenv("QUILLORY_GAME_FOLDER");
    return folder != nullptr ? folder : QUILLORY_RUN_DIR;
}

std::vector<std::string> gameCommand() {
    const char* command = std::getenv("QUILLORY_GAME_COMMAND");
    if (command == nullptr) {
        return {"sh", "-c", ". \"$0\" && cd \"$(quillory_run_folder .)\" && exec \"$1\"",
                QUILLORY_SOURCE_DIR "/packaging/language.sh", QUILLORY_BINARY};
    }
    std::vector<std::string> words;
    std::istringstream in(command);
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

constexpr int KEY_DELAY_MS = 25;          // between typed keys, as a person types
// The pointer rests at each corner of a stroke, as a hand does. Windows keeps
// only the latest pointer move in a window's queue, so under Wine a pointer that
// jumps on before the game's next frame would cut the corner.
constexpr auto CORNER_REST = std::chrono::milliseconds(200);
constexpr int CLEAR_DIFFERENCE = 100;     // on a channel, 0…255: text against its ground
constexpr auto SETTLE_TIME = std::chrono::milliseconds(300); // a window this still has its place
constexpr int PROBE_MARGIN = 2;           // pixels around a probe that share its colour

// Whether the pixels around (px, py) all share its colour, so that a probe
// there does not sit on an edge that scaling or filtering may move.
bool plainAround(const testsupport::Image& image, int px, int py) {
    for (int dy = -PROBE_MARGIN; dy <= PROBE_MARGIN; ++dy) {
        for (int dx = -PROBE_MARGIN; dx <= PROBE_MARGIN; ++dx) {
            if (!near(pixel(image, px + dx, py + dy), pixel(image, px, py))) {
                return false;
            }
        }
    }
    return true;
}
} // namespace

GameSession::GameSession(void (*prepare)(const testsupport::RunFolder&),
                         const std::map<std::string, std::string>& env)
    : folder_(gameFolder()) {
    if (prepare != nullptr) {
        prepare(folder_);
    }
    process_ = std::make_unique<testsupport::GameProcess>(gameCommand(), folder_.path().string(),
                                                          env);
}

Window GameSession::window() {
    if (window_ == 0) {
        const auto found = x_.waitForWindow(WINDOW_TITLE, START_TIMEOUT);
        EXPECT_TRUE(found.has_value()) << "no window titled " << WINDOW_TITLE;
        window_ = found.value_or(0);
        // The window may first show where the system put it and move to the
        // game's place after the first frame (freeglut on Windows does, and
        // Wine 10 without a window manager takes a visible while): a press
        // aimed before the move can miss. Ready once it keeps its place.
        if (window_ != 0) {
            auto place = x_.position(window_);
            EXPECT_TRUE(testsupport::waitFor(
                [&] {
                    std::this_thread::sleep_for(SETTLE_TIME);
                    const auto now = x_.position(window_);
                    const bool still = now == place;
                    place = now;
                    return still;
                },
                START_TIMEOUT))
                << "the window keeps moving";
        }
    }
    return window_;
}

void GameSession::moveTo(int px, int py) {
    ASSERT_TRUE(testsupport::xdotool({"mousemove", "--window", std::to_string(window()),
                                      std::to_string(px), std::to_string(py)}));
}

void GameSession::click(int button) {
    ASSERT_TRUE(testsupport::xdotool({"click", std::to_string(button)}));
}

void GameSession::buttonDown(int button) {
    ASSERT_TRUE(testsupport::xdotool({"mousedown", std::to_string(button)}));
}

void GameSession::buttonUp(int button) {
    ASSERT_TRUE(testsupport::xdotool({"mouseup", std::to_string(button)}));
}

void GameSession::type(const std::string& text) {
    // Keys go, as XTest events, to the window under the pointer (the server
    // runs no window manager, so focus follows the pointer).
    ASSERT_TRUE(testsupport::xdotool({"type", "--delay", std::to_string(KEY_DELAY_MS), text}));
}

void GameSession::key(const std::string& name) {
    ASSERT_TRUE(testsupport::xdotool({"key", name}));
}

testsupport::Image GameSession::screenshot() { return x_.capture(window()); }

testsupport::Image GameSession::image(const std::string& name) const {
    return testsupport::readPngRgb(folder_.file("images/" + name).string());
}

bool GameSession::waitForImage(const std::string& name,
                               const std::vector<std::pair<int, int>>& probes) {
    const testsupport::Image expected = image(name);
    return testsupport::waitFor(
        [&] {
            const testsupport::Image shot = screenshot();
            if (shot.width != expected.width || shot.height != expected.height) {
                return false;
            }
            for (const auto& [px, py] : probes) {
                if (!near(pixel(shot, px, py), pixel(expected, px, py))) {
                    return false;
                }
            }
            return true;
        },
        STEP_TIMEOUT);
}

Rgb pixel(const testsupport::Image& image, int px, int py) {
    const unsigned char* p = image.at(px, py);
    return {p[0], p[1], p[2]};
}

bool near(const Rgb& a, const Rgb& b, int tolerance) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::abs(a[i] - b[i]) > tolerance) {
            return false;
        }
    }
    return true;
}

std::size_t differingPixels(const testsupport::Image& a, const testsupport::Image& b,
                            int tolerance) {
    std::size_t differing = 0;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            differing += near(pixel(a, x, y), pixel(b, x, y), tolerance) ? 0 : 1;
        }
    }
    return differing;
}

std::vector<std::pair<int, int>> distinguishingProbes(const testsupport::Image& wanted,
                                                      const std::vector<testsupport::Image>& others,
                                                      std::size_t count) {
    std::vector<std::pair<int, int>> differing;
    for (int y = PROBE_MARGIN; y < wanted.height - PROBE_MARGIN; ++y) {
        for (int x = PROBE_MARGIN; x < wanted.width - PROBE_MARGIN; ++x) {
            const bool differs =
                std::all_of(others.begin(), others.end(), [&](const testsupport::Image& other) {
                    return !near(pixel(wanted, x, y), pixel(other, x, y), CLEAR_DIFFERENCE);
                });
            if (differs && plainAround(wanted, x, y)) {
                differing.emplace_back(x, y);
            }
        }
    }
    std::vector<std::pair<int, int>> probes;
    for (std::size_t i = 0; i < count && !differing.empty(); ++i) {
        probes.push_back(differing[i * differing.size() / count]);
    }
    return probes;
}

void Player::press(int px, int py, bool onDone) {
    game_.clickAt(px, py);
    expected_.push_back(pressLine(px, py));
    if (onDone) {
        expected_.push_back("in bounds");
    }
    ASSERT_TRUE(game_.waitForLines(expected_.size())) << game_.process().standardOutput();
}

void Player::drawStroke(const std::vector<std::pair<int, int>>& points) {
    game_.moveTo(points[0].first, points[0].second);
    game_.buttonDown();
    expected_.push_back(pressLine(points[0].first, points[0].second));
    ASSERT_TRUE(game_.waitForLines(expected_.size()));
    for (std::size_t i = 1; i < points.size(); ++i) {
        game_.moveTo(points[i].first, points[i].second);
        std::this_thread::sleep_for(CORNER_REST);
    }
    game_.buttonUp();
}

std::string pressLine(int px, int py) {
    const ScenePoint point = SceneView::instance().windowToScene(px, py);
    return ::pressLine(point.x, point.y);
}

int pixelX(double sceneX) { return static_cast<int>(testsupport::sceneToPixelX(sceneX)); }

int pixelY(double sceneY) { return static_cast<int>(testsupport::sceneToPixelY(sceneY)); }

} // namespace e2e
