// browser_input.h: the one way into the game's keyboard callback from outside
// browser_input.cpp, for the page's text field (browser/text_entry_web.cpp).
// The callback is the one the game registered with glutKeyboardFunc.
#pragma once

// Types `code` (Latin-1, or 8 for Backspace) as a key press would, at the pointer's position.
void typeKey(unsigned char code);
