// Choosing a shot for the pins left, and placing the ball and the bowler for it, arrive with the
// computer bowler work; until then the shot offered is a straight ball from where the ball is.
#include "game/computer.h"

#include "game/records.h"

int AICalculateShot(int, ShotParams_tag& shot)
{
    shot = ShotParams_tag{};
    return 1;
}
