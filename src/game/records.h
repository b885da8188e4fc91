// The players of the current game and the game options.
#pragma once

constexpr int kMaxPlayers = 8;

struct TITLE_PlayerInfoStruct {
    int controllerSlot;  // controller slot of the player, -1 for none
};

extern TITLE_PlayerInfoStruct gPlayerInfo[kMaxPlayers];

int InitOptions();
