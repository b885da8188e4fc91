// 3D maths: three-float vectors, rotation quaternions and 4x4 matrices.
//
// Conventions used throughout:
// - Matrices are row-major, m[row][col], and points are row vectors multiplied on the left:
//   p' = p * M. The translation sits in row 3 (m[3][0..2]); an affine matrix has column 3 equal
//   to (0,0,0,1).
// - Angles are in degrees unless the function name ends in Rad.
// - Vector functions take a pointer to three consecutive floats, so they work on a VECTOR (pass
//   &v.x), on a float[3], or on the first three floats of any larger record.
// - Functions marked "may alias" accept the output being one of the inputs.
#pragma once

struct VECTOR {
    float x, y, z;
};

// A rotation quaternion; w is the scalar part.
struct quaternion {
    float x, y, z, w;
};

// Four floats, as the shaders take them.
struct HLSL_point {
    float x, y, z, w;
};

typedef float matrix[4][4];
typedef matrix MATRIX;

// ---- Building matrices ----

void setIdentityMatrix(matrix m);
// Identity with row 3 = (x, y, z, 1).
void setTranslationMatrix(matrix m, float x, float y, float z);
// Adds (x, y, z) to the translation row; nothing else changes.
void addTranslationMatrix(matrix m, float x, float y, float z);
void setScaleMatrix(matrix m, float x, float y, float z);
// Right-handed rotations: X turns +Y towards +Z, Y turns +Z towards +X, Z turns +X towards +Y.
void setXRotationMatrix(matrix m, float degrees);
void setYRotationMatrix(matrix m, float degrees);
void setZRotationMatrix(matrix m, float degrees);
// The rotation of q (assumed unit length); row 3 and column 3 are (0,0,0,1).
void setQuaternionMatrix(matrix m, const quaternion* q);

// ---- Combining matrices ----

// out = b * a: a point is transformed by b first, then by a. May alias.
void composeMatrix(const matrix a, const matrix b, matrix out);
// As composeMatrix, treating column 3 of both inputs as (0,0,0,1) and writing it so in out.
// May alias.
void composeAffineMatrix(const matrix a, const matrix b, matrix out);
void transposeMatrix(const matrix a, matrix out);
// Inverse of an affine matrix: the upper 3x3 is inverted by cofactors and the translation row
// becomes -t * R^-1, so that inverse * a and a * inverse are both the identity. A singular 3x3
// (determinant exactly 0) is divided by 1 instead, which leaves the adjugate. May alias.
void inverseMatrix(const matrix a, matrix out);

// ---- Applying matrices (the result overwrites v) ----

// v points to four floats: v' = (x, y, z, w) * m.
void composePoint(float* v, const matrix m);
// v' = (x, y, z, 1) * m, keeping the first three components.
void composePosition(float* v, const matrix m);
// v' = (x, y, z) * the upper 3x3 of m: rotates and scales a direction without translating it.
void composeNormal(float* v, const matrix m);

// ---- Vectors ----

// Element-wise operations below may alias.
void addVectors(const float* a, const float* b, float* out);
// out = a - b.
void subVectors(const float* a, const float* b, float* out);
void scaleVector(float* v, float s);
// out = a + s * b.
void scaleAddVectors(const float* a, float s, const float* b, float* out);
float dotVectors(const float* a, const float* b);
// out = a x b. May alias.
void crossVectors(const float* a, const float* b, float* out);
float vectorLength(const float* v);
// Scales v to unit length; a zero vector stays zero.
void normalizeVector(float* v);

// ---- Quaternions ----

// Rotation of `degrees` about the axis (x, y, z), which need not be unit length. A zero axis
// gives the identity.
void createQuaternion(float x, float y, float z, float degrees, quaternion* out);
void createQuaternionRad(float x, float y, float z, float radians, quaternion* out);
// out = b (x) a: the rotation a followed by the rotation b. May alias.
void multiplyQuaternions(const quaternion* a, const quaternion* b, quaternion* out);
// out = conjugate(b) (x) a: the rotation a followed by undoing b. May alias.
void divideQuaternions(const quaternion* a, const quaternion* b, quaternion* out);
// Scales q to unit length; a zero quaternion becomes the identity (0,0,0,1).
void normalizeQuaternion(quaternion* q);
// out = normalised((1 - t) a + t b). No shortest-path sign correction: callers that need it
// flip b first. May alias.
void interpolateQuaternionsLinear(const quaternion* a, const quaternion* b, quaternion* out, float t);
// Euler angles in degrees such that the matrix of q equals Rx(x) * Ry(y) * Rz(z): rotate about X
// first, then Y, then Z. At the poles (y = +-90) X and Z turn about the same axis, so the whole
// turn is given to z and x is 0.
void MakeEulerAnglesFromQ(const quaternion* q, float* xAngle, float* yAngle, float* zAngle);
// The quaternion of the rotation in the upper 3x3 of m (rows are normalised first, so a uniform
// or per-row scale is ignored). The result is not normalised.
void RotationMatrixToQuaternion(const matrix m, quaternion* out);
