// The stereo camera: per-eye projections and views.
#include "platform/stereo.h"

#include <cmath>
#include <cstring>

StereoCamera s_StereoCamera;

int StereoCameraInitialize(StereoCamera* camera)
{
    std::memset(camera, 0, sizeof *camera);
    return 1;
}

int StereoCameraCalculate(StereoCamera* camera, const float proj[4][4], const float view[3][4], float depthLevel,
                          float factor, float projL[4][4], float viewL[3][4], float projR[4][4], float viewR[3][4])
{
    std::memcpy(projL, proj, sizeof(float[4][4]));
    std::memcpy(projR, proj, sizeof(float[4][4]));
    std::memcpy(viewL, view, sizeof(float[3][4]));
    std::memcpy(viewR, view, sizeof(float[3][4]));
    StereoCameraInitialize(camera);

    // The base distance t on the axis: depth(t) = -(p22 t + p23) / (p32 t + p33) = depthLevel.
    float denominator = -proj[2][2] - depthLevel * proj[3][2];
    float t = denominator != 0.0f ? (proj[2][3] + depthLevel * proj[3][3]) / denominator : 0.0f;
    float w = proj[3][2] * t + proj[3][3];
    float xScale = proj[0][0];
    if (!(t > 0.0f) || !std::isfinite(t) || !(w > 0.0f) || xScale == 0.0f || !std::isfinite(factor) || factor == 0.0f)
        return 1;  // no parallax: both eyes keep the base matrices

    // Each eye's image moves by `shift` (clip x per unit of w) at infinite distance; its eye moves
    // sideways by eyeOffset, which brings the two images together again at the base distance.
    float shift = 2.0f * kStereoShiftAtInfinity * factor;
    float offset = shift * w / xScale;
    camera->baseDistance = t;
    camera->eyeOffset = offset;
    camera->shift = shift;
    camera->baseW = w;
    camera->wPerDistance = proj[3][2];
    camera->wOffset = proj[3][3];

    // The left eye sits at -offset: the scene moves right by offset in its view, and its image
    // moves left by shift; the right eye the other way round.
    for (int j = 0; j < 4; j++) {
        projL[0][j] = proj[0][j] - shift * proj[3][j];
        projR[0][j] = proj[0][j] + shift * proj[3][j];
    }
    viewL[0][3] = view[0][3] + offset;
    viewR[0][3] = view[0][3] - offset;
    return 1;
}

float StereoCameraParallax(const StereoCamera* camera, float distance)
{
    if (camera->baseDistance == 0.0f || !std::isfinite(distance)) return 0.0f;
    float w = camera->wPerDistance * distance + camera->wOffset;
    if (!(w > 0.0f)) return 0.0f;
    // The left eye's image is at shift x (baseW / w - 1) in clip x; a share of the width is half
    // of that, with the sign turned so that behind the base plane is positive.
    return 0.5f * camera->shift * (1.0f - camera->baseW / w);
}
