// Making the actors of a game in the order their handlers expect: ball, pins, aim line, bowlers,
// oil overlay, bumpers.
#include "game/gameactors.h"

#include <cstring>

#include "game/actors.h"
#include "game/ball.h"
#include "game/characters.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/physics.h"
#include "game/pins.h"
#include "game/records.h"

// Where the bowlers wait on the approach while they are not bowling.
static const float kBowlerWaitX = 0.0f;
static const float kBowlerWaitY = -204.0f;

// A bowler faces down the lane, mirrored for a left-hander.
static void FaceTheLane(actor_tag* bowler, const TITLE_PlayerInfoStruct& player)
{
    bowler->heading = 0.0f;
    if (player.leftHanded)
        bowler->displayAttributes |= 1;
    else
        bowler->displayAttributes &= ~1;
}

int CreateGameActors()
{
    std::memset(pins, 0, sizeof pins);  // no pin record may point into an earlier game's pool
    if (!AddBallActor(nullptr)) return 0;
    for (int pin = kFirstPin; pin <= kLastPin; ++pin)
        if (!AddPinActor(pin, &pinActors[pin - 1])) return 0;
    if (!AddAimActor(&aimLine)) return 0;

    for (int i = 0; i < gNumPlayers; ++i) {
        actor_tag* bowler = nullptr;
        if (!AddCharacter(kBowlerWaitX, kBowlerWaitY, kActorCharacter, &bowler, i)) return 0;
        if (i == 0) homePlayers = bowler;
        // Only the bowler whose turn it is stands on the approach.
        bowler->visible = i == 0;
        FaceTheLane(bowler, gPlayerInfo[i]);
        gPlayerInfo[i].theActor = bowler;
    }

    if (!AddOilActor(nullptr) || !AddBumperActor(nullptr)) return 0;
    if (physics) physics->SetBumpersRaised(gPlayerInfo[0].bumpers != 0);
    SetControlState(0);
    return 1;
}
