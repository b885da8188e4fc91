// The draw handlers of single actors that the scene's draw list runs: a rigid model, a skinned
// model, the ball and its reflection map.
#pragma once

#include <cstdint>

struct actor_tag;

// actorFlags bit: the actor is drawn without writing depth (a see-through piece over the lane).
constexpr uint32_t kActorFlagNoZWrite = 0x8;

// Per-actor draw handlers, stored in actors by their makers.
// A plain model at the actor's transform (depth writes off while drawn when actorFlags has 0x8).
int DrawActorModel(actor_tag* actor);
// A skinned model posed by the actor's skeleton; nothing when hidden or behind the camera.
int DrawActorSkeleton(actor_tag* actor);
// The ball's model and the reflection sliding over it; always 1.
int DrawNextGenBall(actor_tag* actor);
// The two reflection models over the ball, their texture shifted by the ball's place on the lane.
int DrawBallReflectionMap(actor_tag* actor);
