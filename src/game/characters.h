// Bowler characters: one per player, a skinned actor posed by its animations and dressed from the
// player record (body group, garments with their texture swaps, hair), carrying the ball in its
// right hand (left for a left-handed player) until the throw releases it.
//
// The garments and their textures live in the character archive, which is open from the game's
// set-up to its tear-down. Each drawing pass copies every garment model of the drawn player into a
// slot of its own (record and materials), so that one player's texture swaps touch nothing that
// another player or the resource shares.
#pragma once

#include "lib/matrix.h"
#include "lib/resourceids.h"

struct actor_tag;
struct DS3_model_tag;
struct resourceFileHeader_tag;

constexpr int kCharacterLodBufferBytes = 1728;
constexpr int kCharacterLodBytes = 864;  // one model place of the buffer, per level of detail
constexpr int kCharacterSlots = 8;       // garment slots per player
constexpr int kCharacterMaterials = 8;   // materials per garment slot
// Base animations from this id on are the characters' specials: the ball is not in the hand.
constexpr int kAnimFirstWithoutBall = 1337;
extern const char* const kCharacterArchive;

// The character archive while it is open, and the bowlers' shadow model once loaded.
extern resourceFileHeader_tag* headerSpecials;
extern DS3_model_tag* playerShadowModel;

// Loads the bowlers' shadow model. 0 when it cannot be read.
int InitCharacters(int unused);
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

// The character's draw handler: the ball in the hand while it is held, then the body group, the
// garments and the hair, with the characters' lights; the game's lights and full alpha after.
// 0 when a skinned draw or the carried ball fails.
int DrawCharacter(actor_tag* actor);
// Draws the held ball in the character's hand (nothing when the character is hidden or behind
// the camera). 0 when the ball cannot be drawn.
int DrawCarriedBall(actor_tag* actor);
// Sets the ball actor's transforms to the hand of the character for its last computed pose.
// 0 for a missing actor.
int PlaceCarriedBall(actor_tag* character, actor_tag* ball);

// Frees the character's model buffer. 0 when that fails.
int DisposePlayerModel(actor_tag* actor);

// Opens the character archive and loads every player's outfit; 0 when the archive cannot be
// opened (everything is released again) or the program is quitting.
int LoadCharacterResources();
// Releases every player's outfit and closes the archive; 0 when a release failed.
int DisposeCharacters();
// One player's outfit, in the record's field order, stopping at the first failure; and its release.
int LoadCharacterResources4Character(int player);
int DisposeCharacterResources4Character(int player);
// The animations the bowlers of players 0..count-1 play (the throw and their own set, in the
// versions made for their body meshes); and their release with the shadow model, at tear-down.
int LoadCharacterAnimations(int count);
int DisposeCharacterAnimations();

// Loads a resource a player record names: (group << 16) | index opens the group and reads that
// member; a smaller id reads the resource, or loads it whole when it is a group. Below 1: none.
// 0, with a message, when it cannot be loaded.
int LoadResourceFn(int id);
// Frees what LoadResourceFn(id) loaded; 1 for an id below 1 or nothing loaded.
int DisposeResourceFn(int id);

// Copies garment model modelId into the player's slot (record and materials); 0 for an id below
// 1, a player or slot out of range, a model that is not loaded or one of 8 or more materials.
int CopyModelAndMaterials(int modelId, int player, int slot);
// In the slot's copy, gives every material whose colour texture is fromTexture the texture
// toTexture, and every other material its own; 0 (with a message) when an id is below 1 or a
// texture is not loaded.
int SwapMaterials(int player, int slot, int fromTexture, int toTexture);
// The model copy of a slot; null out of range or before the slots exist.
DS3_model_tag* CharacterSlotModel(int player, int slot);
// Garment slots the last DrawCharacter of the player filled.
int CharacterSlotsUsed(int player);

// The hand that throws, by body mesh: the bone and the ball's place in that bone's frame.
struct CharacterHand {
    int bone;
    float x, y, z;
};
int CharacterHandFor(int bodyMeshRSID, int leftHanded, CharacterHand* out);
// The hand that carries the drawn ball and the ball's turn there (degrees about X, Y and Z).
struct CarriedBallHand {
    CharacterHand hand;
    float rotX, rotY, rotZ;
};
int CarriedBallHandFor(int bodyMeshRSID, int leftHanded, CarriedBallHand* out);
