// window_identity_win32.cpp: the window's identity on Windows. There is
// nothing to do at run time: freeglut registers its window class with the
// icon resource named GLUT_ICON, which app/quillory.rc.in links into the exe,
// and Windows names the window after its title and the exe.
#include "app/window_identity.h"

void applyWindowIdentity() {}
