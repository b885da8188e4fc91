// The bowlers' models, skeletons, outfits and animation handlers arrive with the character work.
// Until then a bowler is only a place on the approach: ResetCharacter moves it, the animation is
// recorded but not played, and the ball leaves the hand at a fixed release point (see below).
#include "game/characters.h"

#include "game/actors.h"

// Without a skeleton there is no hand to follow, so the release point is where a right-handed
// bowler lets the ball go: at the foul line, beside the bowler's right hip (6 inches of real lane
// to the right of the bowler's centre), with the bottom of the ball just above the lane (the ball
// body's radius is 8.58 units).
static const float kReleaseRightOfBowler = 12.0f;
static const float kReleaseY = 0.0f;
static const float kReleaseZ = 10.0f;

static const int kResetPose = 1325;

int ResetCharacter(actor_tag* actor, float x, float y)
{
    if (!actor) return 0;
    actor->logicalX = actor->Xlocation = x;
    actor->logicalY = actor->Ylocation = y;
    return SetCharacterAnimation(actor, kResetPose);
}

int SetCharacterAnimation(actor_tag* actor, int anim)
{
    if (!actor) return 0;
    actor->animInfo.animation = anim;
    actor->animInfo.animationFrame = 0.0f;
    actor->animInfo.animationFrameRatio = 0.0f;
    return 1;
}

int RightHandPosition(actor_tag* actor, float* x, float* y, float* z)
{
    if (!actor) return 0;
    if (x) *x = actor->Xlocation + kReleaseRightOfBowler;
    if (y) *y = kReleaseY;
    if (z) *z = kReleaseZ;
    return 1;
}
