// window_identity.h: how the desktop names the game's window and which icon it
// shows for it.
//
// One implementation per platform, chosen in app/CMakeLists.txt. The program
// entry calls it once, right after glutCreateWindow; what it sets lasts as
// long as the window.
#pragma once

// Gives the window just created its desktop identity (name and icon).
void applyWindowIdentity();
