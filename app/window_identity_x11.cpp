// window_identity_x11.cpp: the window's identity under X11.
//
// freeglut sets only WM_NAME and WM_PROTOCOLS on its window. Desktops match
// a window to its menu entry by WM_CLASS (the entry's StartupWMClass), group
// it by _NET_WM_PID and draw _NET_WM_ICON in the task bar and window switcher,
// so this sets all three on the window freeglut just made current.
#include "app/window_identity.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <GL/glx.h>
#include <unistd.h>

#include <vector>

#include "app/window_icons.h"

namespace {

// WM_CLASS: instance and class name, as the desktop entry's StartupWMClass.
char INSTANCE_NAME[] = "quillory";
char CLASS_NAME[] = "Quillory";
constexpr int CARDINAL_FORMAT = 32; // X property format: each item a C long

// A 32-bit X property's items travel as C longs, whatever their width.
void setCardinals(Display* display, Window window, const char* property,
                  const std::vector<unsigned long>& items) {
    XChangeProperty(display, window, XInternAtom(display, property, False), XA_CARDINAL,
                    CARDINAL_FORMAT, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(items.data()),
                    static_cast<int>(items.size()));
}

// _NET_WM_ICON: for each size its width, its height, then its pixels as ARGB.
std::vector<unsigned long> iconCardinals() {
    std::vector<unsigned long> items;
    for (const WindowIconImage& icon : windowIconImages()) {
        const auto side = static_cast<unsigned long>(icon.size);
        items.push_back(side);
        items.push_back(side);
        items.insert(items.end(), icon.argb, icon.argb + side * side);
    }
    return items;
}

} // namespace

void applyWindowIdentity() {
    // freeglut makes the new window's context current on the window itself,
    // so the current GLX drawable is the X window.
    Display* display = glXGetCurrentDisplay();
    const Window window = glXGetCurrentDrawable();
    if (display == nullptr || window == 0) {
        return; // no current X window: nothing to name
    }
    XClassHint classHint{INSTANCE_NAME, CLASS_NAME};
    XSetClassHint(display, window, &classHint);
    setCardinals(display, window, "_NET_WM_PID", {static_cast<unsigned long>(getpid())});
    setCardinals(display, window, "_NET_WM_ICON", iconCardinals());
    XFlush(display);
}
