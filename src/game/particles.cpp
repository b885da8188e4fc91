// The particle systems and billboards in the scene's drawing order. The game makes none yet, so
// both calls hold their place in the scene and draw nothing.
#include "game/particles.h"

// Particle systems are made by the particle engine, which the game does not have yet: no system
// exists, so the manager holds none and there is nothing to draw.
int ParticleSystemManagerRender() { return 1; }

// Nothing in the game lists a billboard, and the platform draws none; the call keeps its place in
// the scene so that the depth-write state around it stays as the scene sets it.
int DrawEnvBillboards() { return 1; }
