// main.cpp: program entry. Runs the game; a start-up failure that leaves the
// game unable to draw text ends the program with a message and status 1.
#include <cstdio>
#include <stdexcept>

#include "app/game_loop.h"

int main(int argc, char** argv) {
    try {
        runGame(argc, argv);
    } catch (const std::runtime_error& error) {
        std::fprintf(stderr, "%s: %s\n", argc > 0 ? argv[0] : "quillory", error.what());
        return 1;
    }
}
