// The camera's placement for each control state, its following of the ball, glides and the
// alley's fixed cameras arrive with the camera work; until then only the slots are kept.
#include "game/camera.h"

CameraPosition gameCameras[kNumGameCameras];
