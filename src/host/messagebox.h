// The system's message box, for telling the player in the window why start-up stopped when the
// game's own box cannot be shown: it needs none of the game data, no renderer and no window of
// the game's.
#pragma once

// Whether the game's own box told the player why start-up stopped and stayed until the player
// closed it. Start-up sets it; the process entry shows the system's box only when it did not.
void HostSetStopToldByGame(int told);
int HostStopToldByGame();

// Shows the text in the system's message box until the player closes it. 0 when no box can be
// shown: no display, or the video driver draws offscreen (where nobody would see it).
int HostShowSystemMessage(const char* text);
