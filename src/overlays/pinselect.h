// The pin selection of the pin practice (game type 2): before every ball the player chooses on
// the lower screen which of the ten pins stand, with the stylus or the d-pad and B, and goes on
// with A to the shot steps; the choice and the cursor stay for the whole run of the program.
#pragma once

// Pushes the overlay unless it is open already. 1/0.
int StartDSPinSelectOverlay();
int DSPinSelectOverlayActive();
// The chosen state of pin 1..10 (1 standing); 0 for any other number.
int PinSelectChosen(int pin);
// The pin under the cursor, 1..10.
int PinSelectCursor();

int DSPinSelectOpenHandler();
int DSPinSelectDrawHandler();
int DSPinSelectUpdateHandler();
int DSPinSelectInputHandler();
int DSPinSelectCloseHandler();
