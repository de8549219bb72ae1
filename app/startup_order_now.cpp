// startup_order_now.cpp: on the desktop, start-up runs whole before the main
// loop, in order.
#include "app/startup_order.h"

void runBeforePlay(void (*steps)()) {
    steps();
}
