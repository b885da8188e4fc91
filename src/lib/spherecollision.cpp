// The vector helpers of the sphere collision tests, kept bit for bit equal to the matrix library's
// own.
#include "lib/spherecollision.h"

#include "lib/matrix.h"

// The same arithmetic as normalizeVector, so that both give the same bits.
void NormalizeVector(float* v)
{
    if (!v) return;
    const float length = vectorLength(v);
    if (length > 0.0f) scaleVector(v, 1.0f / length);
}
