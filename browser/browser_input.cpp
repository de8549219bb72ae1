// browser_input.cpp: the game's GLUT input callbacks, fed from the browser's
// own mouse, touch and key events. Linked into the web build only; the game
// registers its callbacks with the usual glut*Func calls, which land here
// instead of in Emscripten's GLUT. Lives for the whole page.
//
// Emscripten's GLUT hands motion callbacks the previous pointer position,
// reads keys as US key codes (an é typed on a French keyboard arrives as '2',
// Shift+1 as '1', a dead-key é not at all) and presses a tap where the last
// motion left the pointer. Here every position is the event's own, mapped from
// the canvas as the page scales it to the 1024 x 768 the game draws, every
// press and release is preceded by a motion to its position, and a key gives
// the character the browser says it typed (its `key`), as Latin-1. A key an
// input method takes (an on-screen keyboard's, a dead key) is left to the
// page's text field, which types its text (browser/text_entry_web.cpp).
#include <GL/glut.h>
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cstring>
#include <string_view>

#include "app/scene_view.h"
#include "browser/browser_input.h"

namespace {

constexpr const char* CANVAS = "#canvas";
constexpr unsigned char BACKSPACE = 8; // the codes the desktop's GLUT gives these keys
constexpr unsigned char TAB = 9;
constexpr unsigned char ENTER = 13;
constexpr unsigned char ESCAPE = 27;
constexpr unsigned char DELETE = 127;
constexpr char32_t FIRST_PRINTABLE = 0x20; // space; below it are control codes
constexpr char32_t LAST_LATIN1 = 0xFF;     // the glyph font draws codes up to here
constexpr long NO_FINGER = -1;
constexpr unsigned long COMPOSING_KEY_CODE = 229; // the keyCode of a key an input method takes

// The game's input callbacks, and what the browser's events have told so far.
struct PointerAndKeys {
    void (*mouse)(int button, int state, int x, int y) = nullptr;
    void (*motion)(int x, int y) = nullptr;
    void (*passiveMotion)(int x, int y) = nullptr;
    void (*keyboard)(unsigned char key, int x, int y) = nullptr;
    void (*keyboardUp)(unsigned char key, int x, int y) = nullptr;
    bool ignoreRepeat = false;
    int buttonsHeld = 0;     // bit per mouse button
    long finger = NO_FINGER; // the touch that draws; other fingers are ignored
    int x = 0;               // last pointer position, canvas pixels
    int y = 0;
};

PointerAndKeys& input() {
    static PointerAndKeys state;
    return state;
}

// The canvas's box on the page, in CSS pixels. (The JavaScript bodies are
// kept out of clang-format, which would break their operators.)
// clang-format off
EM_JS(void, canvasBox, (double* box), {
    const rect = Module['canvas'].getBoundingClientRect();
    HEAPF64[box >> 3] = rect.left;
    HEAPF64[(box >> 3) + 1] = rect.top;
    HEAPF64[(box >> 3) + 2] = rect.width;
    HEAPF64[(box >> 3) + 3] = rect.height;
});

// Emscripten's GLUT turns touches into mouse events of its own, which would
// reach the game a second time, with its tap fault; the touches are handled here.
EM_JS(void, stopGlutTouchEmulation, (), {
    if (typeof GLUT !== 'undefined') {
        ['touchstart', 'touchmove', 'touchend'].forEach(
            function(type) { window.removeEventListener(type, GLUT.touchHandler, true); });
    }
});
// clang-format on

// Moves the pointer to the page point (clientX, clientY), in the game's pixels,
// and tells the game; a position off the canvas is passed on as it is. False,
// with nothing told, while the canvas has no size (the page hides it).
bool moveTo(long clientX, long clientY) {
    double box[4];
    canvasBox(box);
    PointerAndKeys& in = input();
    if (box[2] <= 0.0 || box[3] <= 0.0) {
        return false;
    }
    in.x = static_cast<int>((static_cast<double>(clientX) - box[0]) * WINDOW_WIDTH / box[2]);
    in.y = static_cast<int>((static_cast<double>(clientY) - box[1]) * WINDOW_HEIGHT / box[3]);
    const auto callback = in.buttonsHeld != 0 ? in.motion : in.passiveMotion;
    if (callback != nullptr) {
        callback(in.x, in.y);
    }
    return true;
}

void press(int button, bool down) {
    PointerAndKeys& in = input();
    if (down) {
        in.buttonsHeld |= 1 << button;
    } else {
        in.buttonsHeld &= ~(1 << button);
    }
    if (in.mouse != nullptr) {
        in.mouse(button, down ? GLUT_DOWN : GLUT_UP, in.x, in.y);
    }
}

// A press on a canvas the page hides has no position: it presses nothing.
EM_BOOL onMouseDown(int /*type*/, const EmscriptenMouseEvent* event, void* /*data*/) {
    if (moveTo(event->clientX, event->clientY)) {
        press(event->button, true);
    }
    return EM_TRUE;
}

// Motion and release are watched on the whole window, so a stroke dragged
// past the canvas's edge goes on to its edge and ends where the button is let go.
EM_BOOL onMouseMove(int /*type*/, const EmscriptenMouseEvent* event, void* /*data*/) {
    moveTo(event->clientX, event->clientY);
    return input().buttonsHeld != 0 ? EM_TRUE : EM_FALSE;
}

EM_BOOL onMouseUp(int /*type*/, const EmscriptenMouseEvent* event, void* /*data*/) {
    if ((input().buttonsHeld & (1 << event->button)) == 0) {
        return EM_FALSE; // pressed elsewhere on the page
    }
    moveTo(event->clientX, event->clientY);
    press(event->button, false);
    return EM_TRUE;
}

// One finger draws like the left mouse button: it goes down where it touches,
// moves, and lifts where it leaves. Taking the event keeps the page from
// scrolling or zooming and the browser from making mouse events of it.
EM_BOOL onTouch(int type, const EmscriptenTouchEvent* event, void* /*data*/) {
    PointerAndKeys& in = input();
    for (int i = 0; i < event->numTouches; ++i) {
        const EmscriptenTouchPoint& touch = event->touches[i];
        if (!touch.isChanged) {
            continue;
        }
        if (type == EMSCRIPTEN_EVENT_TOUCHSTART && in.finger == NO_FINGER) {
            if (!moveTo(touch.clientX, touch.clientY)) {
                continue;
            }
            in.finger = touch.identifier;
            press(GLUT_LEFT_BUTTON, true);
        } else if (touch.identifier == in.finger) {
            moveTo(touch.clientX, touch.clientY);
            if (type != EMSCRIPTEN_EVENT_TOUCHMOVE) {
                in.finger = NO_FINGER;
                press(GLUT_LEFT_BUTTON, false);
            }
        }
    }
    return EM_TRUE;
}

// The one code point of `utf8`, or 0 when it holds none or several.
char32_t singleCodePoint(std::string_view utf8) {
    if (utf8.empty()) {
        return 0;
    }
    const auto lead = static_cast<unsigned char>(utf8[0]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (utf8.size() != length) {
        return 0;
    }
    if (length == 1) {
        return lead;
    }
    char32_t code = lead & (0x3F >> (length - 1));
    for (std::size_t i = 1; i < length; ++i) {
        code = (code << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
    }
    return code;
}

// The code the game gets for a key, 0 for none: the typed character when it
// is Latin-1, or the control code the desktop gives an editing key.
unsigned char keyCode(const EmscriptenKeyboardEvent& event) {
    const std::string_view key(event.key, strnlen(event.key, sizeof event.key));
    if (key == "Backspace") {
        return BACKSPACE;
    }
    if (key == "Tab") {
        return TAB;
    }
    if (key == "Enter") {
        return ENTER;
    }
    if (key == "Escape") {
        return ESCAPE;
    }
    if (key == "Delete") {
        return DELETE;
    }
    // Ctrl or Cmd with a key is the browser's shortcut (reload, copy, ...);
    // AltGr arrives as Ctrl+Alt and types a character.
    if (event.metaKey || (event.ctrlKey && !event.altKey)) {
        return 0;
    }
    const char32_t code = singleCodePoint(key);
    return code >= FIRST_PRINTABLE && code <= LAST_LATIN1 ? static_cast<unsigned char>(code) : 0;
}

} // namespace

void typeKey(unsigned char code) {
    PointerAndKeys& in = input();
    if (in.keyboard != nullptr) {
        in.keyboard(code, in.x, in.y);
    }
}

namespace {

EM_BOOL onKey(int type, const EmscriptenKeyboardEvent* event, void* /*data*/) {
    // An on-screen keyboard's key, or one an input method is composing with,
    // types through the page's text field (browser/text_entry_web.cpp) instead.
    if (event->keyCode == COMPOSING_KEY_CODE) {
        return EM_FALSE;
    }
    const unsigned char code = keyCode(*event);
    if (code == 0) {
        return EM_FALSE;
    }
    PointerAndKeys& in = input();
    if (type == EMSCRIPTEN_EVENT_KEYDOWN) {
        if (!(event->repeat && in.ignoreRepeat)) {
            typeKey(code);
        }
    } else if (in.keyboardUp != nullptr) {
        in.keyboardUp(code, in.x, in.y);
    }
    // Taken, so that Backspace does not go back a page nor space scroll it.
    return EM_TRUE;
}

// Listens to the browser once, when the game first registers a callback.
void listen() {
    static bool listening = false;
    if (listening) {
        return;
    }
    listening = true;
    stopGlutTouchEmulation();
    emscripten_set_mousedown_callback(CANVAS, nullptr, EM_TRUE, onMouseDown);
    emscripten_set_mousemove_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE,
                                      onMouseMove);
    emscripten_set_mouseup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, onMouseUp);
    emscripten_set_touchstart_callback(CANVAS, nullptr, EM_TRUE, onTouch);
    emscripten_set_touchmove_callback(CANVAS, nullptr, EM_TRUE, onTouch);
    emscripten_set_touchend_callback(CANVAS, nullptr, EM_TRUE, onTouch);
    emscripten_set_touchcancel_callback(CANVAS, nullptr, EM_TRUE, onTouch);
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, onKey);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, onKey);
}

} // namespace

extern "C" {

void glutMouseFunc(void (*callback)(int button, int state, int x, int y)) {
    listen();
    input().mouse = callback;
}

void glutMotionFunc(void (*callback)(int x, int y)) {
    listen();
    input().motion = callback;
}

void glutPassiveMotionFunc(void (*callback)(int x, int y)) {
    listen();
    input().passiveMotion = callback;
}

void glutKeyboardFunc(void (*callback)(unsigned char key, int x, int y)) {
    listen();
    input().keyboard = callback;
}

void glutKeyboardUpFunc(void (*callback)(unsigned char key, int x, int y)) {
    listen();
    input().keyboardUp = callback;
}

// Arrows, function keys and the like type nothing; the game ignores them on
// the desktop too, so they are not passed on.
void glutSpecialFunc(void (* /*callback*/)(int key, int x, int y)) {}
void glutSpecialUpFunc(void (* /*callback*/)(int key, int x, int y)) {}

void glutIgnoreKeyRepeat(int ignore) {
    input().ignoreRepeat = ignore != 0;
}

} // extern "C"
