// The record of upward calls (see upperlayers.h); the top layer fills it in at start-up.
#include "shell/upperlayers.h"

UpperLayerHooks upperLayers = {};
