// window_identity.h: the game window's identity on the desktop.
//
// Owns nothing: one call, made by runGame right after glutCreateWindow, names
// the window for the desktop (its class, process and icon), so the task bar
// and window switcher match it to the installed menu entry. One platform's
// implementation is chosen at build time.
#pragma once

// Gives the current GLUT window its desktop identity; call once, right after glutCreateWindow.
void applyWindowIdentity();
