#include "lib/matrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

float maxDiff(const matrix a, const matrix b)
{
    float worst = 0;
    for (int i = 0; i < 16; i++) worst = std::fmax(worst, std::fabs(a[i / 4][i % 4] - b[i / 4][i % 4]));
    return worst;
}

void expectVec(const float* v, float x, float y, float z, float tol = 1e-5f)
{
    EXPECT_NEAR(v[0], x, tol);
    EXPECT_NEAR(v[1], y, tol);
    EXPECT_NEAR(v[2], z, tol);
}

bool isIdentity(const quaternion& q) { return q.x == 0 && q.y == 0 && q.z == 0 && q.w == 1; }

quaternion randomRotation(std::mt19937& rng)
{
    std::normal_distribution<float> n;
    quaternion q = {n(rng), n(rng), n(rng), n(rng)};
    normalizeQuaternion(&q);
    return q;
}

// The quaternion found for m must be unit length and give back m's rotation (its sign is free).
void expectRoundTrip(const matrix m, float tol = 2e-3f)
{
    quaternion q;
    RotationMatrixToQuaternion(m, &q);
    EXPECT_NEAR(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w, 1.0f, tol);
    matrix back;
    setQuaternionMatrix(back, &q);
    EXPECT_LT(maxDiff(back, m), tol);
}

}  // namespace

TEST(MatrixBuild, RotationsAreRightHandedAndMatchQuaternions)
{
    void (*setters[3])(matrix, float) = {setXRotationMatrix, setYRotationMatrix, setZRotationMatrix};
    const float turned[3][3] = {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}};
    float v[3] = {1, 0, 0};
    for (int axis : {2, 0, 1}) {  // +X onto +Y about Z, then onto +Z about X, then back about Y
        matrix m, fromQ;
        setters[axis](m, 90);
        composeNormal(v, m);
        expectVec(v, turned[axis][0], turned[axis][1], turned[axis][2]);
        // The same kind of turn from a quaternion about a long axis, which gets normalised.
        quaternion q;
        createQuaternion(axis == 0 ? 5.0f : 0.0f, axis == 1 ? 5.0f : 0.0f, axis == 2 ? 5.0f : 0.0f, 37, &q);
        setters[axis](m, 37);
        setQuaternionMatrix(fromQ, &q);
        EXPECT_LT(maxDiff(fromQ, m), 1e-6f);
    }
}

TEST(MatrixCompose, FirstArgumentIsAppliedLast)
{
    matrix t, r, m, affine;
    setTranslationMatrix(t, 1, 2, 3);
    setZRotationMatrix(r, 90);
    composeMatrix(t, r, m);
    float p[3] = {1, 0, 0}, origin[3] = {0, 0, 0};
    composePosition(p, m);
    expectVec(p, 1, 3, 3);  // rotated onto +Y, then moved
    composePosition(origin, m);
    expectVec(origin, 1, 2, 3);

    // The affine version ignores whatever is in column 3 and writes (0,0,0,1) there.
    t[0][3] = r[1][3] = r[3][3] = 9;
    composeAffineMatrix(t, r, affine);
    EXPECT_LT(maxDiff(affine, m), 1e-6f);
}

TEST(MatrixCompose, OutputMayAliasAnInput)
{
    matrix a, b, separate;
    setXRotationMatrix(a, 30);
    addTranslationMatrix(a, 4, 5, 6);
    setYRotationMatrix(b, 70);
    composeMatrix(a, b, separate);
    composeMatrix(a, b, b);
    EXPECT_EQ(maxDiff(b, separate), 0);
    setYRotationMatrix(b, 70);
    composeAffineMatrix(a, b, a);
    EXPECT_LT(maxDiff(a, separate), 1e-6f);

    float u[3] = {1, 2, 3}, w[3] = {-4, 5, 0.5f}, cross[3];
    crossVectors(u, w, cross);
    crossVectors(u, w, u);
    expectVec(u, cross[0], cross[1], cross[2], 0);

    quaternion p = {0.1f, 0.2f, 0.3f, 0.9f}, q = {-0.5f, 0.5f, 0.1f, 0.7f}, pq;
    multiplyQuaternions(&p, &q, &pq);
    multiplyQuaternions(&p, &q, &p);
    EXPECT_TRUE(p.x == pq.x && p.y == pq.y && p.z == pq.z && p.w == pq.w);
}

TEST(MatrixApply, TranslationReachesPositionsButNotNormals)
{
    matrix m;
    setScaleMatrix(m, 2, 3, 4);
    addTranslationMatrix(m, 10, 20, 30);
    float pos[3] = {1, 1, 1}, normal[3] = {1, 1, 1}, point[4] = {1, 1, 1, 0.5f};
    composePosition(pos, m);
    expectVec(pos, 12, 23, 34);
    composeNormal(normal, m);
    expectVec(normal, 2, 3, 4);
    composePoint(point, m);  // w scales the translation
    expectVec(point, 7, 13, 19);
    EXPECT_FLOAT_EQ(point[3], 0.5f);
}

TEST(MatrixInverse, UndoesRandomAffineMatricesInBothOrders)
{
    std::mt19937 rng(1234);
    std::uniform_real_distribution<float> scale(0.2f, 5.0f), move(-100.0f, 100.0f);
    matrix identity;
    setIdentityMatrix(identity);
    for (int i = 0; i < 200; i++) {
        matrix s, r, a, inv, product;
        quaternion q = randomRotation(rng);
        setScaleMatrix(s, scale(rng), scale(rng), scale(rng));
        setQuaternionMatrix(r, &q);
        composeMatrix(r, s, a);
        addTranslationMatrix(a, move(rng), move(rng), move(rng));
        a[0][3] = 5;  // column 3 of the input is not read
        inverseMatrix(a, inv);
        a[0][3] = 0;
        composeMatrix(inv, a, product);
        EXPECT_LT(maxDiff(product, identity), 1e-4f);
        composeMatrix(a, inv, product);
        EXPECT_LT(maxDiff(product, identity), 1e-4f);
        inverseMatrix(a, a);
        EXPECT_EQ(maxDiff(a, inv), 0);
    }
}

TEST(MatrixInverse, SingularDividesByOneAndTransposeInvertsRotation)
{
    matrix a, out, expected, identity;
    setScaleMatrix(a, 2, 3, 0);
    inverseMatrix(a, out);
    setScaleMatrix(expected, 0, 0, 6);  // the adjugate
    EXPECT_EQ(maxDiff(out, expected), 0);

    setXRotationMatrix(a, 20);
    composeMatrix(a, a, a);
    transposeMatrix(a, out);
    composeMatrix(out, a, a);
    setIdentityMatrix(identity);
    EXPECT_LT(maxDiff(a, identity), 1e-6f);
}

TEST(Vector, ArgumentOrderAndZeroLength)
{
    float a[3] = {1, 2, 3}, b[3] = {4, 6, 8}, out[3];
    subVectors(a, b, out);
    expectVec(out, -3, -4, -5);
    scaleAddVectors(a, 2, b, out);
    expectVec(out, 9, 14, 19);
    float x[3] = {1, 0, 0}, y[3] = {0, 1, 0};
    crossVectors(x, y, out);
    expectVec(out, 0, 0, 1);

    float v[3] = {3, 0, 4}, zero[3] = {0, 0, 0};
    EXPECT_FLOAT_EQ(vectorLength(v), 5);
    normalizeVector(v);
    expectVec(v, 0.6f, 0, 0.8f);
    normalizeVector(zero);
    expectVec(zero, 0, 0, 0, 0);
}

TEST(Quaternion, ZeroInputsGiveTheIdentity)
{
    quaternion q = {0, 0, 0, 0};
    normalizeQuaternion(&q);
    EXPECT_TRUE(isIdentity(q));
    createQuaternion(0, 0, 0, 45, &q);
    EXPECT_TRUE(isIdentity(q));
    // Without sign correction, halfway between q and -q is zero, which normalises to the identity.
    quaternion a = {0.6f, 0, 0, 0.8f}, b = {-0.6f, 0, 0, -0.8f};
    interpolateQuaternionsLinear(&a, &b, &q, 0.5f);
    EXPECT_TRUE(isIdentity(q));
}

TEST(Quaternion, ProductMatchesMatrixOrderAndDivisionUndoesIt)
{
    std::mt19937 rng(99);
    for (int i = 0; i < 50; i++) {
        quaternion a = randomRotation(rng), b = randomRotation(rng), ab, back;
        multiplyQuaternions(&a, &b, &ab);
        matrix ma, mb, mab, expected;
        setQuaternionMatrix(ma, &a);
        setQuaternionMatrix(mb, &b);
        setQuaternionMatrix(mab, &ab);
        composeMatrix(mb, ma, expected);  // a first, then b
        EXPECT_LT(maxDiff(mab, expected), 1e-5f);
        divideQuaternions(&ab, &b, &back);
        EXPECT_NEAR(back.x, a.x, 1e-5f);
        EXPECT_NEAR(back.w, a.w, 1e-5f);
    }
    quaternion a, b, mid;
    createQuaternion(0, 0, 1, 0, &a);
    createQuaternion(0, 0, 1, 90, &b);
    interpolateQuaternionsLinear(&a, &b, &mid, 0.5f);
    EXPECT_NEAR(std::atan2(mid.z, mid.w) * 2, 45 * 0.017453292f, 1e-6f);
    interpolateQuaternionsLinear(&b, &a, &mid, 0);
    EXPECT_NEAR(mid.z, b.z, 1e-6f);
}

TEST(QuaternionEuler, IdentityAndPole)
{
    quaternion q = {0, 0, 0, 1}, qx, qy;
    float x, y, z;
    MakeEulerAnglesFromQ(&q, &x, &y, &z);
    EXPECT_TRUE(x == 0 && y == 0 && z == 0);
    createQuaternion(0, 1, 0, -90, &qy);
    MakeEulerAnglesFromQ(&qy, &x, &y, &z);
    EXPECT_TRUE(x == 0 && y == -90 && z == 0);
    // At the pole a turn about X is indistinguishable from one about Z, so it all goes to z.
    createQuaternion(1, 0, 0, 30, &qx);
    multiplyQuaternions(&qx, &qy, &q);
    MakeEulerAnglesFromQ(&q, &x, &y, &z);
    EXPECT_EQ(x, 0.0f);
    EXPECT_NEAR(y, -90, 1e-4f);
    EXPECT_NEAR(z, 30, 1e-2f);
}

// Euler angles rebuilt as X, then Y, then Z must give back the same rotation, on and off the pole.
TEST(QuaternionEuler, AnglesRebuildTheRotation)
{
    std::mt19937 rng(7);
    const float pitches[] = {90.0f, -90.0f, 89.99f, -89.97f, 89.9f};  // pole, pole, pole, pole, not
    for (int i = 0; i < 300; i++) {
        quaternion q = randomRotation(rng), qx, qy, qz;
        if (i % 2 == 0) {
            createQuaternion(1, 0, 0, float(i % 360) - 180.0f, &qx);
            createQuaternion(0, 1, 0, pitches[i % 5], &qy);
            createQuaternion(0, 0, 1, float(i * 7 % 360) - 180.0f, &qz);
            multiplyQuaternions(&qx, &qy, &q);
            multiplyQuaternions(&q, &qz, &q);
        }
        float x, y, z;
        MakeEulerAnglesFromQ(&q, &x, &y, &z);
        matrix rx, ry, rz, m, expected;
        setXRotationMatrix(rx, x);
        setYRotationMatrix(ry, y);
        setZRotationMatrix(rz, z);
        composeMatrix(ry, rx, m);
        composeMatrix(rz, m, m);
        setQuaternionMatrix(expected, &q);
        EXPECT_LT(maxDiff(m, expected), 1e-3f);
    }
}

TEST(QuaternionFromMatrix, RandomRotationsAndScaledRows)
{
    std::mt19937 rng(42);
    for (int i = 0; i < 1000; i++) {
        quaternion q = randomRotation(rng);
        matrix m, scaled, s;
        setQuaternionMatrix(m, &q);
        expectRoundTrip(m);
        // Rows are normalised first, so a scale before the rotation changes nothing.
        setScaleMatrix(s, 3, 0.5f, 2);
        composeMatrix(m, s, scaled);
        quaternion fromScaled;
        RotationMatrixToQuaternion(scaled, &fromScaled);
        setQuaternionMatrix(scaled, &fromScaled);
        EXPECT_LT(maxDiff(scaled, m), 2e-3f);
    }
}

// Every rotation mapping the axes onto axes, with exact 0 and +-1 entries: the identity, half
// turns about X, Y and Z (third row exactly -Z or +Z), quarter turns, and rows whose x is 0.
TEST(QuaternionFromMatrix, AxisAlignedRotations)
{
    const int perms[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    for (auto& p : perms) {
        for (int signs = 0; signs < 8; signs++) {
            matrix m;
            setIdentityMatrix(m);
            for (int r = 0; r < 3; r++)
                for (int c = 0; c < 3; c++) m[r][c] = c == p[r] ? ((signs >> r) & 1 ? -1.0f : 1.0f) : 0.0f;
            float cross[3];
            crossVectors(m[0], m[1], cross);
            if (dotVectors(cross, m[2]) < 0) continue;  // a reflection
            SCOPED_TRACE(testing::Message() << "perm " << p[0] << p[1] << p[2] << " signs " << signs);
            expectRoundTrip(m);
        }
    }
}

// Half turns about any horizontal axis, and third rows just off -Z and +Z, with random twists.
TEST(QuaternionFromMatrix, NearThePoles)
{
    std::mt19937 rng(5);
    std::uniform_real_distribution<float> angle(-180.0f, 180.0f);
    for (float tilt : {180.0f, 179.999f, 179.9f, 0.1f, 0.001f, 0.0f}) {
        for (int i = 0; i < 50; i++) {
            float heading = angle(rng) * 0.017453292f;
            quaternion swing, twist, q;
            createQuaternion(std::cos(heading), std::sin(heading), 0, tilt, &swing);
            createQuaternion(0, 0, 1, angle(rng), &twist);
            multiplyQuaternions(&twist, &swing, &q);
            matrix m;
            setQuaternionMatrix(m, &q);
            expectRoundTrip(m);
        }
    }
}
