// The tie between the lower layers and the modules above them, made once at start-up. The
// function itself, RegisterGameModules, is declared with the record it fills in
// (shell/upperlayers.h), so that the shell can call it without including this layer.
#pragma once

#include "shell/upperlayers.h"
