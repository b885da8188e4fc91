// The scene camera: its parameters and defaults, the view, projection and billboard matrices
// computed from them each frame, and the per-actor world and view transforms.
//
// View space: x to the right, y down the screen, z forward (points in front of the camera have a
// positive z). The game camera (game/camera.h) keeps its own slots and copies one into these
// globals before each frame.
#pragma once

#include <cstdint>

#include "lib/matrix.h"

struct actor_tag;

struct frustrum {
    float left, right, top, bottom;
    float hither, yon;
    float hitherInv, yonInv;
};

// Camera state.
extern float cameraX, cameraY, cameraZ;
extern float cameraXangle, cameraYangle, cameraZangle;  // degrees
extern float cameraZoom;  // distance behind the focus along the view axis
extern float cameraViewingDistance;
extern float cameraOffsetX, cameraOffsetY;
// The camera's rates: InitCamera sets the free camera's, the game loop the game's for each game.
extern float cameraSpeed, cameraVerticalSpeed, cameraRotationRate, cameraZoomRate, cameraPitchRate;
extern float renderOffsetX, renderOffsetY;  // a shift of the 3D image in clip units
extern float renderOffsetZoom;              // added to cameraZoom
extern int mirrorViewX;                     // mirrors the view left to right
extern float projXscale, projYscale;
extern float HScale, VScale, HTranslate, VTranslate;
extern frustrum viewFrustrum;
extern uint8_t matrixStack[200];
extern int matrixStackDepth;

// Matrices produced by ComposeCameraXform (row vectors, translation in row 3).
extern matrix cameraXform;            // world to camera
extern matrix shaderViewXform;        // the same, for the shaders
extern matrix shaderProjectionXform;  // rows as the GPU reads them: clip = M * (x, y, z, 1)
extern matrix projectionXform;        // camera to screen, scaled to pixels of the screen buffer
extern matrix viewXform;              // cameraXform then projectionXform
extern float (*curXform)[4];          // points at viewXform
extern matrix billboardXform;         // turns sprites to face the camera
extern matrix ZbillboardXform;        // turns sprites about z only
extern matrix cameraXformInv;         // camera to world

// SetCameraParameters(1, 1, hither, yon), then the defaults. 0 when the parameters fail.
int InitCamera(float hither, float yon);
// Projection scales, screen scale and centre and the view frustum from the size of the screen
// buffer being drawn (the upper screen's size when none is set). Always 1.
int SetCameraParameters(float xScale, float yScale, float hither, float yon);
// Every camera matrix from the camera state; hands the projection to the renderer. Always 1.
int ComposeCameraXform();
// The actor's world, view and lighting transforms. 0 when its skeleton translation fails.
int ComputeActorXform(actor_tag* actor);

int GetMirrorViewX();
float GetProjectionScaleX();
