// Every benchmark runs with the lower layers tied to the modules above them, as the program's
// start-up ties them before anything else runs.
#include "shell/upperlayers.h"

static const int registered = (RegisterGameModules(), 1);
