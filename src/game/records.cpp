#include "game/records.h"

TITLE_PlayerInfoStruct gPlayerInfo[kMaxPlayers];

// The game options and their defaults arrive with the player records.
int InitOptions() { return 1; }
