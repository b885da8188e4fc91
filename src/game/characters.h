// Bowler characters: one per player, posed by its animations, carrying the ball until the release.
#pragma once

struct actor_tag;

// Puts the bowler at (x, y) in its reset pose. 0 for a null actor.
int ResetCharacter(actor_tag* actor, float x, float y);
// Gives the bowler animation anim at frame 0, waiting to be started. 0 for a null actor.
int SetCharacterAnimation(actor_tag* actor, int anim);
// Where the ball leaves the bowler's right hand, in world units; any output may be null.
// 0 for a null actor.
int RightHandPosition(actor_tag* actor, float* x, float* y, float* z);
