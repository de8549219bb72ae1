// keyboard.cpp: typed keys go to the answer of the player who is typing.
#include <GL/freeglut.h>

#include "game/game_state.h"
#include "game/input_router.h"
#include "text/answer_text.h"

namespace {
constexpr unsigned char BACKSPACE = 8; // key code
} // namespace

void onKeyboard(unsigned char key, int /*x*/, int /*y*/) {
    InputRouter::instance();
    if (inputMode != Typing) {
        return;
    }
    AnswerText& answer = currentPlayer == 0 ? answer1 : answer2;
    if (key == BACKSPACE) {
        answer.deleteLast();
        return;
    }
    // Every other code is stored as it comes, control codes included, up to
    // six full rows of the display.
    if (answer.length() < ANSWER_MAX_LENGTH) {
        answer.appendChar(static_cast<char>(key));
    }
}

void onIgnoredKey(unsigned char /*key*/, int /*x*/, int /*y*/) { InputRouter::instance(); }

void onIgnoredKey(int /*key*/, int /*x*/, int /*y*/) { InputRouter::instance(); }
