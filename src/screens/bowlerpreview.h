// The bowler preview of the bowler screens and the pro shop: the 3D character "player.model"
// dressed as the bowler of the save database's "player view" table, its loading, and whether the
// bowler shown must be loaded again.
#pragma once

struct sBasicUiWidget;

// Dresses "player.model" (a 3D skeleton widget of the caller's environment) as the bowler of
// "player view" row 0 with its hand: body, hair, animation and each garment worn, from the
// bowler's "players" row and the game database's "Bodys" and item tables; sets the ball previews
// (SetupPlayerBalls) and marks the character for loading. 1, also without such a widget; 0 when
// the bowler, its body or a table is missing.
int SetupPlayerModel(sBasicUiWidget* caller, int value);
// Loads the resources of the bowler of "player view" row 0 as player 0 of the game records (the
// character archive's outfit and the body's animation), keeping the menu drawn meanwhile. Input
// is off during the load. 1 (also without the widget); 0 when the bowler cannot be loaded.
int LoadPlayerModel(sBasicUiWidget* caller, int value);
// One frame of the menu while the character loads: a framework update and a drawing. 1.
int LoadPlayerModelCB();
// Gives back what the preview loaded (the outfit and the archive, its animation). Called when the
// menu closes.
void DisposePlayerModel();

// 1 when the bowler of "player view" row 0 (or its hand, or any of its looks, "players" columns
// 10 to 18) differs from what was last shown, or while the preview clip "cp2013.0.p" plays; 0 when
// nothing changed and the clip has ended. Row 0 is copied into row 1 on every call.
int CharacterChanged(sBasicUiWidget* caller, int value);
// Forgets the bowler shown ("player view" row 1 column 1 = -1), so that the next check reports a
// change. Returns 1.
int ResetCharacterChanged(sBasicUiWidget* caller, int value);
