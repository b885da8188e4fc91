// The autosave: the front end hands the save image to SeasonSaveGame, which writes it behind the
// message boxes of the lower screen: "Saving. Please don't close the game." while the save worker
// runs (shell/savedata.h), then "Save Successful.", or "Save failed! Try again?" with yes (write the
// same image again) and no (autosave off). The front end blocks the HOME button around it
// (EnableNoHomeDraw) and presents frames until no overlay is open and the no-HOME icon is gone,
// then calls SaveDataEnd and DisableNoHomeDraw.
#pragma once

// 0: autosave on; -1: off (after "no" to "Save failed! Try again?"), SeasonSaveGame then does
// nothing. The front end turns it on again.
extern int gAutoSaveSlot;

// Starts saving image[0..size) behind the saving message; the image must stay untouched until the
// boxes are gone. The save counts as under way at once (SaveDataBegin). When the file in place
// could not be read (SaveDataFileUnchecked), "Save game found. Do you want to overwrite this
// data?" comes first: yes saves, no writes nothing and turns autosave off. Always 1.
int SeasonSaveGame(char* image, int size);
// The saving box's task: waits 14 frames (the message is read before the write starts), starts the
// write on the 15th, then reports 1 once the worker is done.
int SaveHighScores(int response);
// The saving box's end: "Save Successful." or "Save failed! Try again?". 1.
int OnSaveComplete(int response);
// The answer to "Save failed! Try again?" (after a chime): yes writes the image again, no turns
// autosave off. 1.
int OnAutoSaveFail(int response);
// After a failed load (LoadData): opens the information box that tells the player why ("Load
// failed. The saved game appears to be damaged and cannot be loaded.", or "Load failed."), with
// the answer step response. 0 when the last load did not fail (no save yet, or read well).
int StartLoadFailedMessage(int (*response)(int));
// 1 when the last autosave failed.
int AutoSaveFailed();
// 1 when the write of the image last handed to SeasonSaveGame has finished well, whether or not
// the boxes saw it end (a close cuts them short); asked once the worker is ended (SaveDataEnd).
// Asking forgets it: the next call says 0 until another write finishes.
int AutoSaveTakeWritten();
