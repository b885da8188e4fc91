// The stereo camera of the upper screen: from one base projection and view it makes a projection
// and a view per eye. The eyes sit left and right of the camera, and each eye's image is shifted
// so that a point at the base distance (where the depth buffer holds the depth level) lands on
// the same pixel in both eyes: nearer points are seen in front of the screen, farther ones
// behind it.
//
// Matrices are row-major with column vectors (clip = P x V x p); views are the first three rows.
// Camera space: x to the right of the screen, z ahead. Clip space: x to the right, w the distance
// ahead, z from 0 at the near plane to -w at the far plane (depth = -z / w).
#pragma once

struct StereoCamera {
    float baseDistance;  // distance of the plane without parallax; 0 when there is none
    float eyeOffset;     // half the distance between the eyes, in camera units
    float shift;         // each eye's image shift at infinite distance, in clip x units
    float baseW;         // clip w at the base distance
    float wPerDistance;  // clip w = wPerDistance x distance + wOffset
    float wOffset;
};

extern StereoCamera s_StereoCamera;

// Each eye's image is shifted, at infinite distance, by this share of the screen width times the
// stereo factor.
constexpr float kStereoShiftAtInfinity = 0.1f;

int StereoCameraInitialize(StereoCamera* camera);
// Per-eye matrices from the base projection and view, the depth level (0 near .. 1 far, where
// the eyes agree) and the stereo factor (0: both eyes see the base matrices). Always 1.
int StereoCameraCalculate(StereoCamera* camera, const float proj[4][4], const float view[3][4], float depthLevel,
                          float factor, float projL[4][4], float viewL[3][4], float projR[4][4], float viewR[3][4]);
// How far each eye's image of a point at a distance is shifted, as a share of the screen width:
// positive behind the base plane (the left eye's image moves left), negative in front of it;
// 0 without parallax.
float StereoCameraParallax(const StereoCamera* camera, float distance);
