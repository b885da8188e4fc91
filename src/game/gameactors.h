// The actors of a game, made at its set-up: ball, pins, aim line, bowlers, oil overlay, bumpers.
#pragma once

// Makes the game's actors in their order; 0 at the first one that cannot be made.
int CreateGameActors();
