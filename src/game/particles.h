// Particle systems and the environment billboards, as the scene drawing reaches them: both are
// drawn with the 3D scene of each eye, after the actors, with depth writes off.
#pragma once

// Draws every visible particle system. 1 when there is nothing to draw.
int ParticleSystemManagerRender();
// Draws the alley's billboards, facing the camera. Always 1.
int DrawEnvBillboards();
