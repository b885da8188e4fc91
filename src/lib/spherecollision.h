// Helpers of the sphere-against-polygon collision tests.
#pragma once

// Scales the three floats at v to unit length; a zero vector (or a null pointer) is left as it is.
void NormalizeVector(float* v);
