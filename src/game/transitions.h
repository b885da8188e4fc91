// Screen transitions (wipes and fades between views).
#pragma once

int UpdateTransition();
// Draws the running transition over the lower screen; 1 and nothing drawn when none runs.
int DrawTransition();
