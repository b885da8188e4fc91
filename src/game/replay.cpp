// Recording and playing the replay arrive with the replay work; until then only the state that
// the ball and the heads-up display ask about is kept.
#include "game/replay.h"

static int replayDone = 1;

int IsReplayActive() { return replayDone == 0; }

int SetReplayActive(int active)
{
    replayDone = active > 1 ? 0 : 1 - active;
    return IsReplayActive();
}
