// text_entry_none.cpp: the desktop's and Windows' text entry. A keyboard is
// always there, so beginning and ending an answer asks nothing of the platform.
#include "game/text_entry.h"

void textEntryBegins() {}
void textEntryEnds() {}
