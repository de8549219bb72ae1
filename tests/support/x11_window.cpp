// x11_window.cpp: window lookup, capture and client messages over Xlib.
#include "tests/support/x11_window.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace testsupport {

namespace {

constexpr auto EVENT_POLL = std::chrono::milliseconds(5); // between looks for new events

void collectTitled(Display* display, Window window, const std::string& title,
                   std::vector<Window>& found) {
    char* name = nullptr;
    if (XFetchName(display, window, &name) != 0 && name != nullptr) {
        if (title == name) {
            found.push_back(window);
        }
        XFree(name);
    }
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) != 0) {
        for (unsigned int i = 0; i < count; ++i) {
            collectTitled(display, children[i], title, found);
        }
        if (children != nullptr) {
            XFree(children);
        }
    }
}

// Xlib's default handler ends the process on any protocol error, such as asking
// about a window that has just gone; a test should fail, not vanish.
int ignoreXError(Display* /*display*/, XErrorEvent* /*event*/) { return 0; }

} // namespace

XConnection::XConnection() : display_(XOpenDisplay(nullptr)) { XSetErrorHandler(ignoreXError); }

XConnection::~XConnection() {
    if (display_ != nullptr) {
        XCloseDisplay(display_);
    }
}

std::vector<Window> XConnection::windowsTitled(const std::string& title) const {
    std::vector<Window> found;
    if (display_ != nullptr) {
        collectTitled(display_, DefaultRootWindow(display_), title, found);
    }
    return found;
}

std::optional<Window> XConnection::waitForWindow(const std::string& title,
                                                 std::chrono::milliseconds timeout) const {
    std::optional<Window> result;
    waitFor(
        [&] {
            const auto windows = windowsTitled(title);
            if (windows.size() != 1) {
                return false;
            }
            XWindowAttributes attributes{};
            if (XGetWindowAttributes(display_, windows[0], &attributes) == 0 ||
                attributes.map_state != IsViewable) {
                return false;
            }
            result = windows[0];
            return true;
        },
        timeout);
    return result;
}

std::pair<int, int> XConnection::size(Window window) const {
    XWindowAttributes attributes{};
    XGetWindowAttributes(display_, window, &attributes);
    return {attributes.width, attributes.height};
}

std::pair<int, int> XConnection::position(Window window) const {
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
    return {x, y};
}

Image XConnection::capture(Window window) const {
    const auto [width, height] = size(window);
    Image image;
    XImage* ximage =
        XGetImage(display_, window, 0, 0, static_cast<unsigned>(width),
                  static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (ximage == nullptr) {
        return image;
    }
    image.width = width;
    image.height = height;
    image.channels = 3;
    image.pixels.resize(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned long pixel = XGetPixel(ximage, x, y);
            unsigned char* out = &image.pixels[(static_cast<std::size_t>(y) * width + x) * 3];
            out[0] = static_cast<unsigned char>((pixel & ximage->red_mask) >> 16);
            out[1] = static_cast<unsigned char>((pixel & ximage->green_mask) >> 8);
            out[2] = static_cast<unsigned char>(pixel & ximage->blue_mask);
        }
    }
    XDestroyImage(ximage);
    return image;
}

std::vector<std::pair<int, int>> XConnection::resizeAndWatch(
    Window window, int width, int height, std::chrono::milliseconds timeout) const {
    XSelectInput(display_, window, StructureNotifyMask);
    XResizeWindow(display_, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XFlush(display_);
    const std::pair requested{width, height};
    std::vector<std::pair<int, int>> sizes;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    const auto answered = [&] {
        const auto seen = std::find(sizes.begin(), sizes.end(), requested);
        return seen != sizes.end() && std::find_if(seen, sizes.end(), [&](const auto& size) {
                                          return size != requested;
                                      }) != sizes.end();
    };
    while (!answered() && std::chrono::steady_clock::now() < deadline) {
        if (XPending(display_) == 0) {
            std::this_thread::sleep_for(EVENT_POLL);
            continue;
        }
        XEvent event{};
        XNextEvent(display_, &event);
        if (event.type == ConfigureNotify && event.xconfigure.window == window) {
            sizes.emplace_back(event.xconfigure.width, event.xconfigure.height);
        }
    }
    XSelectInput(display_, window, NoEventMask);
    return sizes;
}

void XConnection::sendDeleteWindow(Window window) const {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    XFlush(display_);
}

} // namespace testsupport
