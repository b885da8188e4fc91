// The process's spine: the entry point with its fixed start-up order and tear-down levels, the
// opening of the resource archives, and the endless message box of a fatal start-up problem.
#pragma once

// nnMain, defined here, is declared with the entry points the host calls (host/entry.h): it runs
// the whole program and returns 1 when start-up reached the screen loop, 0 when it stopped before
// (the reason is reported through PrintError).
#include "host/entry.h"

int OpenResources();
