// How the player is told why the run stops: the one line on standard error, and in the window the
// system's message box when the game's own box cannot be shown (it needs none of the game data, no
// renderer and no window of the game's).
#pragma once

#include <string>

// Whether the game's own box told the player why start-up stopped and stayed until the player
// closed it. Start-up sets it; the process entry shows the system's box only when it did not.
void HostSetStopToldByGame(int told);
int HostStopToldByGame();

// Whether a box that waits for the player to close the game can be closed: the game's window is on
// a screen, or an input script (--input) still has orders to come. Headless, or where no window
// could be opened and the game draws offscreen with no order left to come, nobody could see or
// close it. A box asks again every frame: it ends when the script runs out.
int HostBoxCanBeClosed();

// The line that says why the run stops ("start-up stopped: ...", "the game stopped: ..."), given
// by the step that decides the stop, with its first fault. It is kept as it was given (written as
// one line, no byte of it able to steer a terminal), never looked for in the log, where a name
// quoted in another message could stand in for it.
void HostSetStopLine(const std::string& line);
// The line given, or "start-up stopped" when none was.
std::string HostStartUpStop();

// Prints the one line that says why the run stops on standard error, the first time it is called:
// as soon as the game knows, before a box waits for the player, else when the program ends. gameEnd
// is how nnMain ends (host/entry.h): the line given, else "start-up stopped", or for a game that
// failed in the screen loop "the game stopped". With --verbose every message was printed as it
// came, the line too, and nothing more is printed.
void HostPrintStopLine(int gameEnd);

// Shows the text in the system's message box until the player closes it. 0 when no box can be
// shown: no display, or the video driver draws offscreen (where nobody would see it).
int HostShowSystemMessage(const char* text);
