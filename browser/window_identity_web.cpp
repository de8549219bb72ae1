// window_identity_web.cpp: the window's identity in a browser. The page is the
// window: its title and favicon come from index.html, so there is nothing to
// do at run time.
#include "app/window_identity.h"

void applyWindowIdentity() {}
