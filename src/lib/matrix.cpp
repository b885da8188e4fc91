// The 3D maths on vectors, quaternions and matrices, in the conventions that matrix.h sets out.
#include "lib/matrix.h"

#include <cmath>

#include "platform/utilities.h"

static const float kDegToRad = 0.017453292f;
static const float kRadToDeg = 57.295776f;

static void copyMatrix(const matrix a, matrix out)
{
    for (int r = 0; r < 4; r++)
        for (int c = 0; c < 4; c++) out[r][c] = a[r][c];
}

static void setZeroMatrix(matrix m)
{
    for (int r = 0; r < 4; r++)
        for (int c = 0; c < 4; c++) m[r][c] = 0.0f;
}

static float clampUnit(float v) { return v < -1.0f ? -1.0f : (v > 1.0f ? 1.0f : v); }

// ---- Building matrices ----

void setIdentityMatrix(matrix m)
{
    setZeroMatrix(m);
    m[0][0] = m[1][1] = m[2][2] = m[3][3] = 1.0f;
}

void setTranslationMatrix(matrix m, float x, float y, float z)
{
    setIdentityMatrix(m);
    m[3][0] = x;
    m[3][1] = y;
    m[3][2] = z;
}

void addTranslationMatrix(matrix m, float x, float y, float z)
{
    m[3][0] += x;
    m[3][1] += y;
    m[3][2] += z;
}

void setScaleMatrix(matrix m, float x, float y, float z)
{
    setZeroMatrix(m);
    m[0][0] = x;
    m[1][1] = y;
    m[2][2] = z;
    m[3][3] = 1.0f;
}

void setXRotationMatrix(matrix m, float degrees)
{
    float rad = degrees * kDegToRad;
    float c = COS(rad), s = SIN(rad);
    setZeroMatrix(m);
    m[0][0] = 1.0f;
    m[1][1] = c;
    m[1][2] = s;
    m[2][1] = -s;
    m[2][2] = c;
    m[3][3] = 1.0f;
}

void setYRotationMatrix(matrix m, float degrees)
{
    float rad = degrees * kDegToRad;
    float c = COS(rad), s = SIN(rad);
    setZeroMatrix(m);
    m[0][0] = c;
    m[0][2] = -s;
    m[1][1] = 1.0f;
    m[2][0] = s;
    m[2][2] = c;
    m[3][3] = 1.0f;
}

void setZRotationMatrix(matrix m, float degrees)
{
    float rad = degrees * kDegToRad;
    float c = COS(rad), s = SIN(rad);
    setZeroMatrix(m);
    m[0][0] = c;
    m[0][1] = s;
    m[1][0] = -s;
    m[1][1] = c;
    m[2][2] = 1.0f;
    m[3][3] = 1.0f;
}

void setQuaternionMatrix(matrix m, const quaternion* q)
{
    float x = q->x, y = q->y, z = q->z, w = q->w;
    m[0][0] = 1.0f - 2.0f * (y * y + z * z);
    m[0][1] = 2.0f * (x * y + z * w);
    m[0][2] = 2.0f * (x * z - y * w);
    m[0][3] = 0.0f;
    m[1][0] = 2.0f * (x * y - z * w);
    m[1][1] = 1.0f - 2.0f * (z * z + x * x);
    m[1][2] = 2.0f * (y * z + x * w);
    m[1][3] = 0.0f;
    m[2][0] = 2.0f * (x * z + y * w);
    m[2][1] = 2.0f * (y * z - x * w);
    m[2][2] = 1.0f - 2.0f * (y * y + x * x);
    m[2][3] = 0.0f;
    m[3][0] = m[3][1] = m[3][2] = 0.0f;
    m[3][3] = 1.0f;
}

// ---- Combining matrices ----

void composeMatrix(const matrix a, const matrix b, matrix out)
{
    matrix t;
    for (int r = 0; r < 4; r++)
        for (int c = 0; c < 4; c++)
            t[r][c] = b[r][0] * a[0][c] + b[r][1] * a[1][c] + b[r][2] * a[2][c] + b[r][3] * a[3][c];
    copyMatrix(t, out);
}

void composeAffineMatrix(const matrix a, const matrix b, matrix out)
{
    matrix t;
    for (int r = 0; r < 4; r++) {
        for (int c = 0; c < 3; c++) {
            t[r][c] = b[r][0] * a[0][c] + b[r][1] * a[1][c] + b[r][2] * a[2][c];
            // b[3][3] is taken as 1, so the translation of a carries through.
            if (r == 3) t[r][c] += a[3][c];
        }
        t[r][3] = r == 3 ? 1.0f : 0.0f;
    }
    copyMatrix(t, out);
}

void transposeMatrix(const matrix a, matrix out)
{
    matrix t;
    for (int r = 0; r < 4; r++)
        for (int c = 0; c < 4; c++) t[r][c] = a[c][r];
    copyMatrix(t, out);
}

void inverseMatrix(const matrix a, matrix out)
{
    // Cofactors of the upper 3x3, already transposed into the adjugate.
    matrix t;
    t[0][0] = a[1][1] * a[2][2] - a[1][2] * a[2][1];
    t[0][1] = a[0][2] * a[2][1] - a[0][1] * a[2][2];
    t[0][2] = a[0][1] * a[1][2] - a[0][2] * a[1][1];
    t[1][0] = a[1][2] * a[2][0] - a[1][0] * a[2][2];
    t[1][1] = a[0][0] * a[2][2] - a[0][2] * a[2][0];
    t[1][2] = a[0][2] * a[1][0] - a[0][0] * a[1][2];
    t[2][0] = a[1][0] * a[2][1] - a[1][1] * a[2][0];
    t[2][1] = a[0][1] * a[2][0] - a[0][0] * a[2][1];
    t[2][2] = a[0][0] * a[1][1] - a[0][1] * a[1][0];

    float det = a[0][0] * t[0][0] + a[0][1] * t[1][0] + a[0][2] * t[2][0];
    if (det == 0.0f) det = 1.0f;
    for (int r = 0; r < 3; r++)
        for (int c = 0; c < 3; c++) t[r][c] /= det;

    // A point p maps to p * R + tr, so the inverse maps q to (q - tr) * R^-1.
    for (int c = 0; c < 3; c++) {
        t[3][c] = -(a[3][0] * t[0][c] + a[3][1] * t[1][c] + a[3][2] * t[2][c]);
        t[c][3] = 0.0f;
    }
    t[3][3] = 1.0f;
    copyMatrix(t, out);
}

// ---- Applying matrices ----

void composePoint(float* v, const matrix m)
{
    float t[4];
    for (int c = 0; c < 4; c++) t[c] = v[0] * m[0][c] + v[1] * m[1][c] + v[2] * m[2][c] + v[3] * m[3][c];
    for (int c = 0; c < 4; c++) v[c] = t[c];
}

void composePosition(float* v, const matrix m)
{
    float t[3];
    for (int c = 0; c < 3; c++) t[c] = v[0] * m[0][c] + v[1] * m[1][c] + v[2] * m[2][c] + m[3][c];
    for (int c = 0; c < 3; c++) v[c] = t[c];
}

void composeNormal(float* v, const matrix m)
{
    float t[3];
    for (int c = 0; c < 3; c++) t[c] = v[0] * m[0][c] + v[1] * m[1][c] + v[2] * m[2][c];
    for (int c = 0; c < 3; c++) v[c] = t[c];
}

// ---- Vectors ----

void addVectors(const float* a, const float* b, float* out)
{
    for (int i = 0; i < 3; i++) out[i] = a[i] + b[i];
}

void subVectors(const float* a, const float* b, float* out)
{
    for (int i = 0; i < 3; i++) out[i] = a[i] - b[i];
}

void scaleVector(float* v, float s)
{
    for (int i = 0; i < 3; i++) v[i] *= s;
}

void scaleAddVectors(const float* a, float s, const float* b, float* out)
{
    for (int i = 0; i < 3; i++) out[i] = a[i] + s * b[i];
}

float dotVectors(const float* a, const float* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

void crossVectors(const float* a, const float* b, float* out)
{
    float x = a[1] * b[2] - a[2] * b[1];
    float y = a[2] * b[0] - a[0] * b[2];
    float z = a[0] * b[1] - a[1] * b[0];
    out[0] = x;
    out[1] = y;
    out[2] = z;
}

float vectorLength(const float* v) { return SQRT(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

void normalizeVector(float* v)
{
    float len = vectorLength(v);
    if (len > 0.0f) scaleVector(v, 1.0f / len);
}

// ---- Quaternions ----

void createQuaternionRad(float x, float y, float z, float radians, quaternion* out)
{
    float axis[3] = {x, y, z};
    normalizeVector(axis);
    if (axis[0] == 0.0f && axis[1] == 0.0f && axis[2] == 0.0f) {
        // No axis to turn about: no rotation, rather than a NaN quaternion.
        *out = {0.0f, 0.0f, 0.0f, 1.0f};
        return;
    }
    float h = radians * 0.5f;
    float s = SIN(h);
    *out = {axis[0] * s, axis[1] * s, axis[2] * s, COS(h)};
}

void createQuaternion(float x, float y, float z, float degrees, quaternion* out)
{
    createQuaternionRad(x, y, z, degrees * kDegToRad, out);
}

void multiplyQuaternions(const quaternion* a, const quaternion* b, quaternion* out)
{
    quaternion t;
    t.x = b->w * a->x + b->x * a->w + b->y * a->z - b->z * a->y;
    t.y = b->w * a->y + b->y * a->w + b->z * a->x - b->x * a->z;
    t.z = b->w * a->z + b->z * a->w + b->x * a->y - b->y * a->x;
    t.w = b->w * a->w - b->x * a->x - b->y * a->y - b->z * a->z;
    *out = t;
}

void divideQuaternions(const quaternion* a, const quaternion* b, quaternion* out)
{
    quaternion conj = {-b->x, -b->y, -b->z, b->w};
    multiplyQuaternions(a, &conj, out);
}

void normalizeQuaternion(quaternion* q)
{
    float len = SQRT(q->x * q->x + q->y * q->y + q->z * q->z + q->w * q->w);
    if (len <= 0.0f) {
        *q = {0.0f, 0.0f, 0.0f, 1.0f};
        return;
    }
    float inv = 1.0f / len;
    q->x *= inv;
    q->y *= inv;
    q->z *= inv;
    q->w *= inv;
}

void interpolateQuaternionsLinear(const quaternion* a, const quaternion* b, quaternion* out, float t)
{
    float u = 1.0f - t;
    quaternion r = {u * a->x + t * b->x, u * a->y + t * b->y, u * a->z + t * b->z, u * a->w + t * b->w};
    normalizeQuaternion(&r);
    *out = r;
}

void MakeEulerAnglesFromQ(const quaternion* q, float* xAngle, float* yAngle, float* zAngle)
{
    // Near the pole the X and Z angles cannot be told apart; the threshold is 0x3F7FFFEF.
    static const float kPole = 0x1.FFFFDEp-1f;
    float x = q->x, y = q->y, z = q->z, w = q->w;
    float s = 2.0f * (x * z - w * y);  // m[0][2] = -sin(yAngle)
    if (std::fabs(s) > kPole) {
        *xAngle = 0.0f;
        *yAngle = s * -1.5707964f / std::fabs(s) * kRadToDeg;
        // With x = 0, m[1][0] = -sin(z) and m[2][0] = sin(y) cos(z).
        *zAngle = ATAN2(-2.0f * (x * y - w * z), -s * 2.0f * (x * z + w * y)) * kRadToDeg;
        return;
    }
    *xAngle = ATAN2(2.0f * (y * z + w * x), w * w - x * x - y * y + z * z) * kRadToDeg;
    *yAngle = ASIN(-s) * kRadToDeg;
    *zAngle = ATAN2(2.0f * (x * y + w * z), w * w + x * x - y * y - z * z) * kRadToDeg;
}

// The matrix's rows are the images of the axes, so the rotation is found in two steps: a swing
// that turns +Z onto row 2, then a twist about row 2 that brings the swung +X onto row 0.
void RotationMatrixToQuaternion(const matrix m, quaternion* out)
{
    static const float kZ[3] = {0.0f, 0.0f, 1.0f};
    float r0[3] = {m[0][0], m[0][1], m[0][2]};
    float r2[3] = {m[2][0], m[2][1], m[2][2]};
    normalizeVector(r0);
    normalizeVector(r2);

    // Swing about r2 x Z by minus the angle between them, i.e. from Z towards r2.
    float axis[3];
    crossVectors(r2, kZ, axis);
    if (vectorLength(axis) < 1e-6f) {
        // r2 is +Z or -Z and the cross product gives no axis. For +Z the angle is 0 and the axis
        // does not matter; for -Z any horizontal axis gives a valid half turn, and the twist
        // below supplies the rest.
        axis[0] = 1.0f;
        axis[1] = axis[2] = 0.0f;
    } else {
        normalizeVector(axis);
    }
    float h = -ACOS(clampUnit(dotVectors(kZ, r2))) * 0.5f;
    float sh = SIN(h);
    quaternion swing = {axis[0] * sh, axis[1] * sh, axis[2] * sh, COS(h)};
    matrix swung;
    setQuaternionMatrix(swung, &swing);

    // A zero row 0 carries no twist; take the swing's own so that the twist is zero.
    if (r0[0] == 0.0f && r0[1] == 0.0f && r0[2] == 0.0f) {
        for (int i = 0; i < 3; i++) r0[i] = swung[0][i];
    }

    // The twist angle is known only up to sign: try both and keep the one whose row 0 lands
    // closer to r0.
    float t = ACOS(clampUnit(dotVectors(swung[0], r0))) * 0.5f;
    float st = SIN(t), ct = COS(t);
    quaternion twistA = {-r2[0] * st, -r2[1] * st, -r2[2] * st, ct};
    quaternion twistB = {r2[0] * st, r2[1] * st, r2[2] * st, ct};
    quaternion qa, qb;
    multiplyQuaternions(&swing, &twistA, &qa);
    multiplyQuaternions(&swing, &twistB, &qb);
    quaternion na = qa, nb = qb;
    normalizeQuaternion(&na);
    normalizeQuaternion(&nb);
    matrix ma, mb;
    setQuaternionMatrix(ma, &na);
    setQuaternionMatrix(mb, &nb);
    *out = dotVectors(mb[0], r0) > dotVectors(ma[0], r0) ? qb : qa;
}
