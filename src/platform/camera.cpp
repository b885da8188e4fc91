// The scene camera's state, its defaults, and the matrices computed from it each frame for the
// view, the projection, billboards and each actor.
#include "platform/camera.h"

#include <cstring>

#include "lib/screenapi.h"
#include "lib/trig.h"
#include "platform/actorrecord.h"
#include "platform/bitmap.h"
#include "platform/shaders.h"
#include "platform/skeleton.h"

float cameraX, cameraY, cameraZ;
float cameraXangle, cameraYangle, cameraZangle;
float cameraZoom;
float cameraViewingDistance = 1.0f;
float cameraOffsetX, cameraOffsetY;
float renderOffsetX, renderOffsetY, renderOffsetZoom;
int mirrorViewX;
float projXscale = 1.0f, projYscale = 0.6f;
float HScale, VScale, HTranslate, VTranslate;
float cameraSpeed, cameraVerticalSpeed, cameraRotationRate, cameraZoomRate, cameraPitchRate;
frustrum viewFrustrum;
uint8_t matrixStack[200];
int matrixStackDepth;

matrix cameraXform;
matrix shaderViewXform;
matrix shaderProjectionXform;
matrix projectionXform;
matrix viewXform;
float (*curXform)[4] = viewXform;
matrix billboardXform;
matrix ZbillboardXform;
matrix cameraXformInv;

// The upper screen's size, used before any screen buffer is chosen.
constexpr int kDefaultScreenWidth = 400;
constexpr int kDefaultScreenHeight = 240;

int InitCamera(float hither, float yon)
{
    if (!SetCameraParameters(1.0f, 1.0f, hither, yon)) return 0;
    cameraX = 0.0f;
    cameraY = -6.0f;
    cameraZ = 1.458f;
    cameraXangle = 119.18f;
    cameraYangle = 0.0f;
    cameraZangle = 0.0f;
    cameraZoom = 100.25f;
    cameraViewingDistance = 1.0f;
    cameraSpeed = 10.0f;
    cameraVerticalSpeed = 10.0f;
    cameraZoomRate = 6.0f;
    cameraRotationRate = 6.0f;
    cameraPitchRate = 3.0f;
    cameraOffsetX = 0.0f;
    cameraOffsetY = 0.0f;
    std::memset(matrixStack, 0, sizeof matrixStack);
    matrixStackDepth = 0;
    mirrorViewX = 0;
    renderOffsetX = 0.0f;
    renderOffsetY = 0.0f;
    renderOffsetZoom = 0.0f;
    return 1;
}

int SetCameraParameters(float xScale, float yScale, float hither, float yon)
{
    float w = screenBuffer ? float(screenBuffer->width) : float(kDefaultScreenWidth);
    float h = screenBuffer ? float(screenBuffer->height) : float(kDefaultScreenHeight);
    projXscale = xScale;
    projYscale = yScale * 0.6f;
    HScale = w * xScale;
    VScale = h * yScale * 0.6f;
    HTranslate = w * 0.5f;
    VTranslate = h * 0.5f;
    viewFrustrum.left = 0.0f;
    viewFrustrum.right = w;
    viewFrustrum.top = 0.0f;
    viewFrustrum.bottom = h;
    viewFrustrum.hither = hither;
    viewFrustrum.yon = yon;
    viewFrustrum.hitherInv = cameraViewingDistance / hither;
    viewFrustrum.yonInv = cameraViewingDistance / yon;
    return 1;
}

// The rotation of the three angles: z first, then y, then x (for row vectors).
static void CameraRotation(float xAngle, float yAngle, float zAngle, int inverse, matrix out)
{
    quaternion qx, qy, qz, q;
    createQuaternion(1.0f, 0.0f, 0.0f, xAngle, &qx);
    createQuaternion(0.0f, 1.0f, 0.0f, yAngle, &qy);
    createQuaternion(0.0f, 0.0f, 1.0f, zAngle, &qz);
    if (inverse) {
        // The same turns undone in the opposite order: x first, then y, then z.
        multiplyQuaternions(&qx, &qy, &q);
        multiplyQuaternions(&q, &qz, &q);
    } else {
        multiplyQuaternions(&qz, &qy, &q);
        multiplyQuaternions(&q, &qx, &q);
    }
    setQuaternionMatrix(out, &q);
}

int ComposeCameraXform()
{
    matrix r, t;

    // World to camera: move the focus to the origin, turn, then step back by the zoom.
    CameraRotation(cameraXangle, cameraYangle, cameraZangle, 0, r);
    setTranslationMatrix(t, -cameraX, -cameraY, -cameraZ);
    composeAffineMatrix(r, t, cameraXform);
    cameraXform[3][2] += cameraZoom + renderOffsetZoom;
    if (mirrorViewX) {
        for (int row = 0; row < 4; ++row) cameraXform[row][0] = -cameraXform[row][0];
    }
    std::memcpy(shaderViewXform, cameraXform, sizeof(matrix));

    // The projection as the GPU reads it (rows applied to a column vector), with the image
    // shifted by the render offset in clip units.
    float hither = viewFrustrum.hither, yon = viewFrustrum.yon;
    std::memset(shaderProjectionXform, 0, sizeof(matrix));
    shaderProjectionXform[0][0] = 1.0f / projXscale;
    shaderProjectionXform[1][1] = 1.0f / projYscale;
    shaderProjectionXform[2][2] = yon / (yon - hither);
    shaderProjectionXform[2][3] = yon * hither / (yon - hither);
    shaderProjectionXform[3][2] = -1.0f;
    for (int col = 0; col < 4; ++col) {
        shaderProjectionXform[0][col] += renderOffsetX * shaderProjectionXform[3][col];
        shaderProjectionXform[1][col] += renderOffsetY * shaderProjectionXform[3][col];
    }
    RenderSetCameraProj3D(shaderProjectionXform);

    // Camera to screen pixels (relative to the screen centre), for the game's own projections.
    float d = cameraViewingDistance;
    std::memset(projectionXform, 0, sizeof(matrix));
    projectionXform[0][0] = HScale * d;
    projectionXform[1][1] = VScale * d;
    projectionXform[2][2] = 1.0f;
    projectionXform[2][3] = 1.0f / d;
    composeMatrix(projectionXform, cameraXform, viewXform);
    curXform = viewXform;

    // Sprites face the camera.
    matrix x;
    setZRotationMatrix(ZbillboardXform, -cameraZangle);
    setXRotationMatrix(x, 90.0f - cameraXangle);
    composeMatrix(ZbillboardXform, x, billboardXform);

    // Camera to world: the steps of cameraXform undone in reverse.
    CameraRotation(-cameraXangle, -cameraYangle, -cameraZangle, 1, r);
    setTranslationMatrix(t, 0.0f, 0.0f, -cameraZoom);
    composeAffineMatrix(r, t, cameraXformInv);
    addTranslationMatrix(cameraXformInv, cameraX, cameraY, cameraZ);
    return 1;
}

int ComputeActorXform(actor_tag* actor)
{
    matrix m;
    setScaleMatrix(actor->worldXform, actor->Xscale, actor->Yscale, actor->Zscale);

    if (actor->actorFlags & 1u) {
        setQuaternionMatrix(actor->lightXform, &actor->actorRotation);
    } else {
        // Y, then X, then the heading about z; a turn of exactly 0 is left out.
        setZRotationMatrix(actor->lightXform, NormalizeAngle(180.0f - actor->heading));
        if (actor->Xangle != 0.0f) {
            setXRotationMatrix(m, actor->Xangle);
            composeMatrix(actor->lightXform, m, actor->lightXform);
        }
        if (actor->Yangle != 0.0f) {
            setYRotationMatrix(m, actor->Yangle);
            composeMatrix(actor->lightXform, m, actor->lightXform);
        }
    }

    composeMatrix(actor->lightXform, actor->worldXform, actor->worldXform);
    actor->worldX = actor->Xlocation;
    actor->worldY = actor->Ylocation;
    actor->worldZ = actor->Zlocation;
    addTranslationMatrix(actor->worldXform, actor->Xlocation, actor->Ylocation, actor->Zlocation);

    if (actor->animInfo.animation) {
        // The animation's root motion applies in the actor's own frame, before scale and turn.
        if (!ComputeSkeletonTranslation(actor)) return 0;
        setTranslationMatrix(m, actor->modelTranslation.x, actor->modelTranslation.y, actor->modelTranslation.z);
        composeAffineMatrix(actor->worldXform, m, actor->worldXform);
    }

    composeMatrix(shaderViewXform, actor->worldXform, actor->actorXform);
    composeMatrix(viewXform, actor->worldXform, actor->clipXform);
    actor->displayAttributes |= kDisplayTransformed;
    return 1;
}

int GetMirrorViewX() { return mirrorViewX; }

float GetProjectionScaleX() { return projXscale; }
