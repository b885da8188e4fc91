// The actors: every object that moves or is drawn in the lane scene (ball, pins, aim line, oil
// overlay, bumpers, bowlers, environment objects) is one fixed-size record from a single pool
// made at game start. Each actor carries its own handlers, which the game runs once per logic
// step; the scene drawing walks the draw list.
#pragma once

#include <cstdint>

#include "platform/actorrecord.h"  // the record itself and its plain types

// The pool and its lists.
extern actor_tag* actorPool;
extern actor_tag* unusedActors;
extern actor_tag* actorList;
extern actor_tag* lastActor;
extern int maxActors;
extern actor_tag* playerList;  // characters, nearest first after each screen-position pass
extern actor_tag* drawList;    // ascending drawPriority

// The game's actors.
extern actor_tag* bowlingBall;
extern actor_tag* pinActors[kNumPins];
extern actor_tag* aimLine;
extern actor_tag* homePlayers;  // the first player's character

extern float playerDetailLevels[2];
extern int lodPolyCount[2];

// Makes the pool of count records, all free, and empties the lists; a pool left over from an
// earlier game is disposed first. 0 when the memory cannot be had.
int InitializeActors(int count);
// Takes a free record, sets it up at (x, y) facing heading, and stores it through out when given.
// 0 when the pool is used up.
int AddActor(float x, float y, float heading, int type, actor_tag** out);
// Runs the dispose handler, frees the actor's own blocks and returns the record to the pool.
// 0 when the actor is not in use, the handler refuses or a block cannot be freed.
int DisposeActor(actor_tag* actor);
// Disposes every actor in list order, then frees the pool. 0 at the first failure.
int DisposeActors();
// The dispose handler of every character: takes it off the player list.
int DisposePlayer(actor_tag* actor);
// Runs the handlers of the actors for one logic step (see actors.cpp for which actors run).
// Handlers may create and dispose actors. 0 only when called from inside a handler.
int RunActorHandlers();
// Per frame, after the handlers and the camera: each visible actor's transforms for the frame's
// view, depths, clipping and the characters' levels of detail. 0 when a transform fails.
int ComputeActorScreenPositions();
// Draws the draw list. 0 when a draw handler fails; drawing stops there for the frame.
int RenderActors();
