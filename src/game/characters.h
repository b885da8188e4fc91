// Bowler characters: one per player, a skinned actor posed by its animations, carrying the ball in
// its right hand (left for a left-handed player) until the throw releases it.
//
// Dressing from the player record (garment copies, texture swaps), the character archive and the
// drawing of the body and the carried ball come with the character drawing; until then a
// character's model is its body model resource as loaded, when it is.
#pragma once

struct actor_tag;

constexpr int kCharacterLodBufferBytes = 1728;

// Makes the character of player at (x, y): an actor of type, scaled 24, in the reset pose,
// stored through out when given. 0 when no actor record is free.
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
// Loads a resource a player record names: (group << 16) | index opens the group and reads that
// member; a smaller id reads the resource, or loads it whole when it is a group. Below 1: none.
// 0, with a message, when it cannot be loaded.
int LoadResourceFn(int id);
// Frees what LoadResourceFn(id) loaded; 1 for an id below 1 or nothing loaded.
int DisposeResourceFn(int id);
// The body models of players 0..count-1 (their bodyMeshRSID groups) and the animations their
// bowlers play, loaded for the characters made at game set-up; and their release at tear-down, once the characters are gone. 0, with a
// message, when a body cannot be loaded or freed.
int LoadCharacterBodies(int count);
int DisposeCharacterBodies();
// Frees the character's model buffer. 0 when that fails.
int DisposePlayerModel(actor_tag* actor);

// The hand that throws, by body mesh: the bone and the ball's place in that bone's frame.
struct CharacterHand {
    int bone;
    float x, y, z;
};
int CharacterHandFor(int bodyMeshRSID, int leftHanded, CharacterHand* out);
