// The game camera: behind the bowler while a shot is set up, following the ball down the lane
// once it is released, gliding between positions, and cutting between the alley's fixed cameras.
// The game keeps its cameras in slots; every frame the game loop copies slot 0 into the scene
// camera (platform/camera.h).
#pragma once

struct actor_tag;

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
static_assert(sizeof(CameraPosition) == 32, "a camera position is eight floats");

struct CameraLimits {
    float cameraMinXangle, cameraMaxXangle;
    float cameraMinZoom, cameraMaxZoom;
    float cameraMinX, cameraMaxX;
    float cameraMinY, cameraMaxY;
    float cameraMinZ, cameraMaxZ;
    float cameraZOffset;
};

// One of the alley's fixed cameras. The two vectors and the block travel with the camera from the
// alley's data; the game itself places the camera by its position alone.
struct StaticGameCamera {
    CameraPosition position;
    int set;       // 1..9
    int tracking;  // the camera follows the ball
    float vector1[3];
    float vector2[3];
    float block[4];
};

constexpr int kNumGameCameras = 32;
constexpr int kNumStaticCameraSets = 9;
constexpr int kMaxStaticCamerasPerSet = 20;
constexpr int kNumStartCameras = 8;  // one per player

// Slot 0 is the live camera, slot 1 the shot set-up view the state camera returns to; the alley
// fills the slots with its fixed cameras in order, and a replay picks its views from slots 2..10.
extern CameraPosition gameCameras[kNumGameCameras];
extern int numGameCameras;  // fixed cameras the alley put into the slots
// Each player's start camera (angles and zoom from the alley); a glide starts from the current
// player's.
extern CameraPosition gTempCamera[kNumStartCameras];
extern StaticGameCamera staticCamera;  // the fixed camera in use, where a glide ends
extern float moveCameraParam;          // glide progress, 0..1
extern int gTransitionGameCamera;      // a glide is running

extern StaticGameCamera staticGameCameras[kNumStaticCameraSets][kMaxStaticCamerasPerSet];
extern int numStaticGameCameras[kNumStaticCameraSets];
extern int staticCameraColor;  // the set in use, 1..9; 0 for none
extern int currCameraNum;
extern int staticCameraTime;
extern int staticCameraSwitchDelay;
extern int staticCameraTracking;
extern float staticCameraStartXangle, staticCameraStartZangle;
extern int forceCenter;
extern int gSuspendCameraControls;
extern CameraLimits gameCameraLimits;

// Places the current player's bowler and camera 0 for a control state:
//  0, 1 (placing, aiming): the bowler is measured in its release pose with the ball in its right
//    hand, put back out of view (Y -720) and set waiting; its deflection becomes the distance from
//    it to the ball. A computer's camera is the set-up view (slot 1); a person's looks down the
//    lane from the foul line over the ball.
//  2 (approach): the set-up view; the bowler steps up to its start (Y -228), from where the throw
//    reaches the foul line.
// Other states change nothing. Always 1.
int SetStateCameraPosition(int state);
// Follows the released ball: camera 0 moves over it at zoom 220 while it is on the lane before
// the pin deck and no alley change is pending. Always 1.
int TrackBall(actor_tag* ball);
// Starts a glide from camera 0 as it is now to the fixed camera in use; TransitionGameCamera then
// moves camera 0 a step each frame. Always 1.
int StartGameCameraGlide();
// One step of a glide; the glide ends at the fixed camera. Always 1.
int TransitionGameCamera();
// Game camera 0's X (the ball's place across the lane while a person sets up a shot).
int SetGameCameraX(float x);
// Copies the camera into the scene camera's globals.
void CopyGameCameraToRenderCamera(const CameraPosition& c);

// Adds a fixed camera to set `set` (1..9). 0 when the set is full or does not exist.
int AddStaticGameCamera(const CameraPosition* position, const float* vector1, const float* vector2,
                        const float* block, int set, int tracking);
// Every set empty, no set in use. Always 1.
int ResetStaticGameCameras();
// Cuts to the next camera of the set in use (only when it holds more than one, or in test mode):
// it becomes the fixed camera in use and every slot takes its position. Always 1.
int SelectNextStaticCamera();
// Makes `set` (0..9, 0 for none) the set in use and selects its next camera. 0 for another set.
int SetStaticGameCameraColor(int set);
int GetStaticGameCameraColor(int* set);
int GetStaticCameraTrack();
// Camera 0 and every slot after it take the fixed camera in use; camera controls are suspended.
// Always 1.
int SetStaticCamera();
// Takes the X angle and zoom limits and the Z offset of `limits` (its X/Y/Z limits are not used).
// 0 for none.
int SetCameraLimits(const CameraLimits* limits);
