// The process's spine: the game's main with its fixed start-up order and tear-down levels, and the
// opening of the resource archives. The platform's early start-up, which runs before it, is
// platform/startup.h; the message box of a fatal start-up problem is shell/quitdialog.h.
#pragma once

// nnMain, defined here, is declared with the entry points the host calls (host/entry.h): it runs
// the whole program and says how it ended (a fault's reason is reported through PrintError).
#include "host/entry.h"

int OpenResources();
