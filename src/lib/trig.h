// Angle helpers in float degrees, and the whole-degree sine and cosine tables that the game reads
// where an exact call to the maths library is not worth its cost.
#pragma once

// Entry d holds the sine (cosine) of d whole degrees, d = 0..359. Both tables share one
// allocation made by InitTrigTables; cosTable == sinTable + 360. Null until then.
extern float* sinTable;
extern float* cosTable;

// Allocates and fills the tables in the current allocation direction. A second call frees the
// previous tables first. Returns 0 when the allocation fails (the tables are then null).
int InitTrigTables();

// a - b brought into [-180, 180] by one turn, for inputs that are themselves in [0, 360).
float AngleDelta(float a, float b);

// The angle brought into [0, 360). NaN and infinities give 0, which is safe to index a table with.
float NormalizeAngle(float a);

// Heading in degrees, [0, 360), from (x1, z1) towards (x2, z2) on the ground plane.
float HeadingToPoint(float x1, float z1, float x2, float z2);
