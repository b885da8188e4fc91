// Loading an alley's environment, layers and lights arrives with the area work; until then only
// the number of the current alley is kept.
#include "game/areas.h"

int areaNum = 0;
