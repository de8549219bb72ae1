// sharp_canvas.h: the canvas's drawing buffer at the screen's own pixels.
// The game draws a 1024 x 768 window; on a screen with more device pixels per
// CSS pixel the buffer takes them, so that strokes and letters are sharp.
// Called by glViewport (browser/legacy_gl.cpp) each time the game sets it.
#pragma once

// Gives the canvas's drawing buffer the device's pixels for the window, at 1 to
// 2 per window pixel, and returns its pixels per window pixel.
double drawingBufferScale();
