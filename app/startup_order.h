// startup_order.h: when the start-up steps that the title screen does not
// need run.
//
// Owns nothing: runGame hands it, once, the steps that only play needs (the
// glyph font and the palette). One platform's implementation is chosen at
// build time: the desktop runs them at once, before its main loop, since its
// window shows nothing until start-up ends anyway; the browser runs them right
// after the first frame is on the screen, so that the title shows sooner.
#pragma once

// Runs `steps` before play can be reached: at once, or as soon as the first frame has been shown.
void runBeforePlay(void (*steps)());
