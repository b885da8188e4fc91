// The bowler preview of the bowler screens: whether the bowler shown must be loaded again.
#pragma once

struct sBasicUiWidget;

// 1 when the bowler of "player view" row 0 (or its hand, or any of its looks, "players" columns
// 10 to 18) differs from what was last shown, or while the preview clip "cp2013.0.p" plays; 0 when
// nothing changed and the clip has ended. Row 0 is copied into row 1 on every call.
int CharacterChanged(sBasicUiWidget* caller, int value);
// Forgets the bowler shown ("player view" row 1 column 1 = -1), so that the next check reports a
// change. Returns 1.
int ResetCharacterChanged(sBasicUiWidget* caller, int value);
