// The game's two entry points, which the process entry (hostmain.cpp) calls in this order, as the
// console's system software calls an application: the platform's early start-up, which splits the
// memory and starts the file system (defined in platform/startup.cpp), then the game's main (in
// shell/startup.cpp). They are declared here, at the host, because the host calls them: the
// layers above define them.
#pragma once

void nninitStartUp();
// How nnMain ended: the screen loop ran until the program was told to end; start-up stopped on a
// fault; the order to close (a signal, the frame limit, HOME's Close) came during start-up; or a
// step of the screen loop failed.
enum { kGameStartUpFailed = 0, kGameEnded = 1, kGameClosedInStartUp = 2, kGameFailed = 3 };
int nnMain();
