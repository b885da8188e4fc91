// End of ball: the scoring of every game type, the pins cleared or re-racked between balls and the
// turn passed to the next player.
#pragma once

// Scores the ball that has just ended by the rules of the game type. Always 1.
int UpdateFrameLogic();
