// Computer bowlers: the shot for the pins standing, the approach and the release.
#pragma once

struct ShotParams_tag;

// The shot for the current player and the pins now standing. Always 1.
int AICalculateShot(int oilPattern, ShotParams_tag& shot);
