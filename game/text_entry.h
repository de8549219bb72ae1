// text_entry.h: tells the platform when a player starts and stops writing an
// answer, so that a touch screen can open its on-screen keyboard and close it.
// pressDone calls these as a turn enters and leaves its typing phase; one
// implementation is chosen at build time (nothing to do on the desktop).
#pragma once

// The current player begins typing an answer, within the press that began it.
void textEntryBegins();
// The answer is finished: nothing is typed until textEntryBegins again.
void textEntryEnds();
