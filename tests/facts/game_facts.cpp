// game_facts.cpp: writes, as JSON, what the browser tests must know of the
// game, taken from the game's own code: the window's size and title, the
// pixel-to-scene mapping, where the whole-game test presses and looks, and
// the line the game prints for each of those presses.
//
// Usage: game_facts FILE
#include <fstream>
#include <iomanip>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "app/game_window.h"
#include "app/scene_view.h"
#include "game/input_router.h"
#include "tests/facts/whole_game.h"

namespace {

using Pixel = std::pair<int, int>;

constexpr int EXACT_DIGITS = 17; // a double printed this way reads back the same

// `text` as a JSON string; the texts written hold no control characters.
std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

std::string pixel(const Pixel& p) {
    return "[" + std::to_string(p.first) + ", " + std::to_string(p.second) + "]";
}

std::string pixels(const std::vector<Pixel>& points) {
    std::string out = "[";
    for (const Pixel& p : points) {
        out += (out.size() > 1 ? ", " : "") + pixel(p);
    }
    return out + "]";
}

// The line the game prints for a left press at window pixel p.
std::string lineFor(const Pixel& p) {
    const ScenePoint point = SceneView::instance().windowToScene(p.first, p.second);
    return pressLine(point.x, point.y);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: game_facts FILE\n";
        return 2;
    }
    const std::vector<std::pair<std::string, Pixel>> presses{
        {"advance", {e2e::ADVANCE_X, e2e::ADVANCE_Y}},
        {"start", {e2e::START_X, e2e::START_Y}},
        {"done", {e2e::DONE_X, e2e::DONE_Y}},
        {"gameOver", {e2e::GAME_OVER_X, e2e::GAME_OVER_Y}},
        {"redCell", {e2e::RED_X, e2e::RED_Y}},
        {"blueCell", {e2e::BLUE_X, e2e::BLUE_Y}},
        {"orangeCell", {e2e::ORANGE_X, e2e::ORANGE_Y}}};
    const std::vector<std::pair<std::string, std::vector<Pixel>>> strokes{
        {"player1", e2e::PLAYER1_STROKE},
        {"player2", e2e::PLAYER2_STROKE},
        {"secondRound", e2e::SECOND_ROUND_STROKE}};

    // The mapping is affine: the top-left corner's scene point and the scene
    // units one pixel spans fix it.
    const SceneView& view = SceneView::instance();
    const ScenePoint topLeft = view.windowToScene(0, 0);
    const ScenePoint topRight = view.windowToScene(WINDOW_WIDTH, 0);

    std::ofstream out(argv[1]);
    out << std::setprecision(EXACT_DIGITS);
    out << "{\n  \"window\": {\"width\": " << WINDOW_WIDTH << ", \"height\": " << WINDOW_HEIGHT
        << ", \"title\": " << quoted(WINDOW_TITLE) << "},\n";
    out << "  \"scene\": {\"left\": " << topLeft.x << ", \"top\": " << topLeft.y
        << ", \"unitsPerPixel\": " << (static_cast<double>(topRight.x) - topLeft.x) / WINDOW_WIDTH
        << "},\n";
    out << "  \"presses\": {";
    for (std::size_t i = 0; i < presses.size(); ++i) {
        out << (i > 0 ? ", " : "") << quoted(presses[i].first) << ": " << pixel(presses[i].second);
    }
    out << "},\n  \"strokes\": {";
    for (std::size_t i = 0; i < strokes.size(); ++i) {
        out << (i > 0 ? ", " : "") << quoted(strokes[i].first) << ": " << pixels(strokes[i].second);
    }
    out << "},\n  \"imageProbes\": " << pixels(e2e::IMAGE_PROBES)
        << ",\n  \"gameOverProbes\": " << pixels(e2e::GAME_OVER_PROBES) << ",\n  \"pressLines\": {";
    // A press line for each press and for each stroke's first point, where its press is.
    std::vector<Pixel> pressed;
    for (const auto& press : presses) {
        pressed.push_back(press.second);
    }
    for (const auto& s : strokes) {
        pressed.push_back(s.second.front());
    }
    for (std::size_t i = 0; i < pressed.size(); ++i) {
        out << (i > 0 ? ",\n    " : "\n    ")
            << quoted(std::to_string(pressed[i].first) + "," + std::to_string(pressed[i].second))
            << ": " << quoted(lineFor(pressed[i]));
    }
    out << "\n  }\n}\n";
    out.close();
    if (!out) {
        std::cerr << "game_facts: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
