// The game's two entry points, which the process entry (hostmain.cpp) calls in this order, as the
// console's system software calls an application: the platform's early start-up, which splits the
// memory and starts the file system (defined in platform/startup.cpp), then the game's main (in
// shell/startup.cpp). They are declared here, at the host, because the host calls them: the
// layers above define them.
#pragma once

void nninitStartUp();
// 1 when the game reached its screen loop, 0 when start-up stopped.
int nnMain();
