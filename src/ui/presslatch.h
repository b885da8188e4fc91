// Presses that belong to the page before: when a page or a question opens, every button and the
// stylus held at that moment are held back from the UI until each is let go, so that a press acts
// once, on the screen where it began (a stylus held on "Yes" does not go on to press what the next
// page shows under it, an A held through a page change does not let go on the new page).
//
// The frame update applies the latch to the UI's copy of the controller and to the live copy that
// triggers may ask for (frameupdate.h); the sticky cursor asks whether the stylus is held back.
#pragma once

#include <cstdint>

// Holds back the buttons held now (game bits, as in allInput) and the stylus, if it touches the
// lower screen, until each is let go.
void BasicUi_LatchPresses();
// Once per frame, before the widgets: the buttons to hold back this frame are those latched and
// not let go before this frame (a latched button's let-go edge is held back too); the stylus is
// free again once it has been lifted.
void BasicUi_UpdateLatch();
// The buttons (game bits) held back this frame.
uint16_t BasicUi_LatchedButtons();
// 1 while the stylus that touched at the latch has not been lifted.
int BasicUi_StylusLatched();
// Forgets every latch (a new environment, a new start).
void BasicUi_ClearLatch();
