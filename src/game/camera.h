// The game camera: behind the bowler while a shot is set up, following the ball down the lane.
#pragma once

struct CameraPosition {
    float cameraX;
    float cameraY;
    float cameraZ;
    float cameraXangle;
    float cameraYangle;
    float cameraZangle;
    float cameraZoom;
    float cameraViewingDistance;
};

constexpr int kNumGameCameras = 32;

// Slot 0 is the live camera, slot 1 the shot set-up view.
extern CameraPosition gameCameras[kNumGameCameras];
