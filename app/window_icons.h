// window_icons.h: the application icon's pixels, built into the program.
//
// The data is generated at build time from assets/icons/ by
// embed_window_icons, so the game never looks for icon files at run time.
// Read by the platform's window identity module; constant for the whole run.
#pragma once

#include <cstdint>
#include <span>

// One square icon image, rows top first, each pixel 0xAARRGGBB.
struct WindowIconImage {
    int size; // side, pixels
    const std::uint32_t* argb;
};

// Every built-in icon size, smallest first.
std::span<const WindowIconImage> windowIconImages();
