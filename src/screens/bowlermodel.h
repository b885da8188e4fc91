// The bowler preview's loaders: the 3D character "player.model" dressed as the bowler of the
// "player view" table, and its resources loaded while the menu keeps drawing.
#pragma once

struct sBasicUiWidget;

// Dresses "player.model" (when the menu has one) as the bowler of "player view" row 0, from its
// "players" row and the game database's item tables, and shows its balls. Returns 1.
int SetupPlayerModel(sBasicUiWidget* caller, int value);
// Loads the models and textures of that bowler as player 0, the menu updating and drawing on
// during the load. Returns 1.
int LoadPlayerModel(sBasicUiWidget* caller, int value);
// One menu frame during the load: an update and a drawing of the environment. Returns 1.
int LoadPlayerModelCB();
