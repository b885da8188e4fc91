// Instant replay of the ball's run down the lane after each ball.
#pragma once

// 1 while a replay is being shown.
int IsReplayActive();
// 0 ends the replay state, 1 (or any larger value) starts it, a negative value ends it. Returns
// IsReplayActive().
int SetReplayActive(int active);
