// The front end's services that the shell and the game call: the screens (screen stack, title,
// loading screen, main menu) and the results of the last game.
#pragma once

#include "screens/loadingscreen.h"
#include "screens/mainmenu.h"
#include "screens/results.h"
#include "screens/screenstack.h"
#include "screens/titlescreen.h"
