#include "platform/frame.h"

int updateRate = 33;
float updateRatio = 1.0f;
