// x11_window.h: looking at and talking to the game's window on the X server.
//
// Owns one connection to $DISPLAY for as long as the object lives. End-to-end
// tests find the window by title, read its size and pixels, ask it to resize
// and close it the way a window manager does on a user's request.
#pragma once

#include <X11/Xlib.h>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/png_io.h"

namespace testsupport {

class XConnection {
public:
    XConnection();  // opens $DISPLAY; display() is null when that fails
    ~XConnection();
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;

    Display* display() const { return display_; }

    // Every top-level or nested window whose WM_NAME is exactly `title`.
    std::vector<Window> windowsTitled(const std::string& title) const;
    // Waits until exactly one mapped window has `title`, up to `timeout`.
    std::optional<Window> waitForWindow(const std::string& title,
                                        std::chrono::milliseconds timeout) const;
    // The window's size in pixels.
    std::pair<int, int> size(Window window) const;
    // Where the window's top-left pixel is on the screen.
    std::pair<int, int> position(Window window) const;
    // The window's current pixels as RGB.
    Image capture(Window window) const;
    // Asks the window to take another size, as a user dragging its edge would,
    // and returns every size the server gave it from then until it has taken
    // another size after the requested one, or `timeout` passed. Watching the
    // server's notifications sees a size that a polling read could miss.
    std::vector<std::pair<int, int>> resizeAndWatch(Window window, int width, int height,
                                                    std::chrono::milliseconds timeout) const;
    // Sends WM_PROTOCOLS / WM_DELETE_WINDOW, what a window manager sends on close.
    void sendDeleteWindow(Window window) const;

private:
    Display* display_ = nullptr;
};

// Waits until `condition` holds or `timeout` passes; returns the last result.
template <typename Condition>
bool waitFor(Condition condition, std::chrono::milliseconds timeout);

} // namespace testsupport

#include <thread>

template <typename Condition>
bool testsupport::waitFor(Condition condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return condition();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}
