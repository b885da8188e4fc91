// Actor animation: playing skeletal animations on actors, blending into a new animation from the
// pose an actor had (tweens), and the bowling animations' versions per body mesh. Callers always
// name the base animation; SetActorAnimation plays the body mesh's own version of it.
#pragma once

struct actor_tag;

// The base animations of the throw (1301-1303) and of the character's own set (1325-1336).
constexpr int kAnimThrowFirst = 1301;
constexpr int kAnimThrowLast = 1303;
constexpr int kAnimThrow = 1303;  // the approach and throw; the ball leaves the hand at the release frame
constexpr int kAnimCharacterFirst = 1325;
constexpr int kAnimCharacterLast = 1336;
constexpr int kAnimResetPose = 1325;
// The highest ids the remapping reaches.
constexpr int kAnimThrowRemappedLast = 1324;
constexpr int kAnimCharacterRemappedLast = 1420;

constexpr int kNumAnimationBodies = 11;
extern const int animationBodyRSIDs[kNumAnimationBodies];

// Set when a looping advance wrapped; read and cleared by ForwardLoopHandler.
extern int looped;

// Row of a body mesh in animationBodyRSIDs, or -1 for a mesh without its own animations.
int AnimationBodyIndex(int bodyMeshRSID);
// Frame of the throw (1303) at which the ball leaves the hand, by body mesh.
int ReleaseFrameForBody(int bodyMeshRSID);
// The body mesh's own id of base animation anim (anim itself outside the remapped ranges).
int RemapAnimation(int bodyMeshRSID, int anim);

int SetActorAnimation(actor_tag* actor, int anim);
int GetCurrentActorAnimation(actor_tag* actor);
int GetCharacterAnimations(int player, int& first, int& last);

int AdvanceFrame(int anim, float ratio, float* frame);
int AdvanceLoopFrame(int anim, float ratio, float* frame);
int FrameForwardHandler(actor_tag* actor);
int ForwardLoopHandler(actor_tag* actor);

typedef int (*actorFunc)(actor_tag* actor);
int SetupTweenEx(actor_tag* actor, actorFunc handler, float rate);
int ActiveTween(actor_tag* actor);

int SetAnimationPercentage(actor_tag* actor, float p);
int GetAnimationPercentage(actor_tag* actor, float* p);

// The root translation of the current frame as a lane offset; 0 and 0 without an animation.
int AnimationTranslations(actor_tag* actor, float* x, float* y);
// Moves the actor so that its animated body stands on its logical spot.
int ResetAnimationTranslations(actor_tag* actor);
