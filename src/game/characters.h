// Bowler characters: one per player, a skinned actor posed by its animations and dressed from the
// player record (body group, garments with their texture swaps, hair), carrying the ball in its
// right hand (left for a left-handed player) until the throw releases it.
// Their loading is in game/characterload.h, their drawing in game/characterdraw.h.
#pragma once

#include "lib/matrix.h"
#include "lib/resourceids.h"

struct actor_tag;
struct DS3_model_tag;

constexpr int kCharacterLodBufferBytes = 1728;
constexpr int kCharacterLodBytes = 864;  // one model place of the buffer, per level of detail
constexpr int kCharacterSlots = 8;       // garment slots per player
constexpr int kCharacterMaterials = 8;   // materials per garment slot
// Base animations from this id on are the characters' specials: the ball is not in the hand.
constexpr int kAnimFirstWithoutBall = 1337;

// Makes the character of player at (x, y): an actor of type, scaled 24, in the reset pose, with
// its own copy of the body model; stored through out when given. 0 when no actor record is free.
int AddCharacter(float x, float y, int type, actor_tag** out, int player);
// Puts the bowler at (x, y) in its reset pose. 0 for a null actor.
int ResetCharacter(actor_tag* actor, float x, float y);
// Gives the bowler animation anim at frame 0, waiting to be started. 0 for a null actor.
int SetCharacterAnimation(actor_tag* actor, int anim);
// As SetCharacterAnimation, blending from the present pose at rate per step.
int SetCharacterAnimationTween(actor_tag* actor, int anim, float rate);
// Plays the animation at its own speed.
int StartCharacterAnimation(actor_tag* actor);
// Where the ball sits in the bowler's throwing hand for the present pose, in world units; any
// output may be null. A bowler without a skeleton or animation lets the ball go from a fixed
// point beside the right hip. 0 for a null actor.
int RightHandPosition(actor_tag* actor, float* x, float* y, float* z);


// Frees the character's model buffer. 0 when that fails.
int DisposePlayerModel(actor_tag* actor);



// The hand that throws, by body mesh: the bone and the ball's place in that bone's frame.
struct CharacterHand {
    int bone;
    float x, y, z;
};
int CharacterHandFor(int bodyMeshRSID, int leftHanded, CharacterHand* out);
