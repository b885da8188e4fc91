// The screen loop: hands the main thread to the front end's screens or to the game, by the screen
// result, until the program ends.
#pragma once

int RunScreenLoop();
