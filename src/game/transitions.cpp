// Transitions arrive with the game's views; until then none is ever running.
#include "game/transitions.h"

int UpdateTransition() { return 1; }

int DrawTransition() { return 1; }
