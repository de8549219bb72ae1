/* freeglut.h: the header the game's sources include for GLUT, in the browser
 * build. Emscripten's sysroot ships only the standard part of freeglut's
 * headers, which holds every GLUT call the game makes. */
#pragma once
#include <GL/freeglut_std.h>
