// Drawing the bowler characters. Each drawing pass copies every garment model of the drawn player
// into a slot of its own (record and materials), so that one player's texture swaps touch nothing
// that another player or the resource shares.
#pragma once

#include "game/characters.h"

struct actor_tag;
struct DS3_model_tag;

// Makes and frees the garment slots of every player (the game's set-up and tear-down).
int AllocateCharacterSlots();
int FreeCharacterSlots();
// Forgets the slots without freeing them: for a run whose game heap has gone.
void ForgetCharacterSlots();

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

// The hand that carries the drawn ball and the ball's turn there (degrees about X, Y and Z).
struct CarriedBallHand {
    CharacterHand hand;
    float rotX, rotY, rotZ;
};
int CarriedBallHandFor(int bodyMeshRSID, int leftHanded, CarriedBallHand* out);
