// Test mode's particle tools: pairs of marker actors that show where the edited particle
// definition (testOptions.particleSystemInfo) makes its particles, where it keeps them and where
// its control points push or pull. A pair is a handle at the centre and a shape (box or sphere)
// sized like the domain or the point's radius; the handle links to its shape and disposes it.
// Test mode is their only user (testmode/); the records of who is present live in testOptions.
#pragma once

struct actor_tag;

// The marker models: the handle, the box outline and the sphere outline (null until loaded).
extern struct DS3_model_tag* particleCenterToolModel;
extern struct DS3_model_tag* particleBoxToolModel;
extern struct DS3_model_tag* particleSphereToolModel;

// Loads the marker models and their textures; 1 when they are (or already were) loaded.
int LoadParticleToolModels();
// Disposes every marker still present, then frees the models. 0 when one of them fails.
int DisposeParticleToolModels();

// The centre of a domain record of type domainType (0 box, 1 sphere, 2 cylinder, 5 rectangle)
// and the scale that its shape marker takes. 0 for another type.
int ParticleToolPlacement(int domainType, const void* coordinates, float centre[3], float scale[3]);

// Adds the handle and shape of the generator's (generator non-zero) or the container's domain at
// the domain's centre and records them in testOptions. 1 when added, or when that domain already
// has its markers; 0 for an unknown domain type or a full actor pool (nothing is left behind).
int AddParticleToolActor(int domainType, const void* coordinates, int generator);
// The handle's motion handler: both actors follow the edited definition's domain. 0 for an
// unknown domain type.
int MoveParticleToolActor(actor_tag* handle);
// The handle's dispose handler: forgets the domain's markers and disposes the shape. 1, or 0 when
// the shape cannot be disposed.
int RemoveParticleToolActor(actor_tag* handle);

// Adds the markers of control point index (0..9) of the edited definition. 1 when added or
// already there; 0 for another index, with no definition or with a full pool.
int AddParticleControlPointActor(int index);
// Its motion handler: both actors at the point, the shape scaled to its radius. Always 1.
int MoveParticleControlPointActor(actor_tag* handle);
// Its dispose handler: forgets the point's markers and disposes the shape. 1, or 0 when the shape
// cannot be disposed.
int RemoveParticleControlPointActor(actor_tag* handle);
