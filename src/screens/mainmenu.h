// The main menu: the whole front end after the title. At start-up it prepares the UI framework;
// each time it opens it registers the script functions, loads the menus' UI description, folds in
// the game just played and then hands input and drawing to the framework.
#pragma once

struct sBasicDb;
struct sBasicUiScreen;
struct sBasicUiWidget;

#include "screens/launchers.h"
#include "screens/saveflow.h"

extern int basicUiEnvironmentStarted;
extern sBasicUiScreen* s0MainMenu;
extern sBasicUiScreen* s18ProShop;
extern int gMainMenuStarted;

// Once at start-up: the UI framework, then the save database step. 1 when it built the save
// database in this call; 0 when done is set, the database was built already, or building it failed
// (start-up then stops with that reason).
int MainMenuScreenInit();
// Hands the main menu's four handlers to the screen API. Returns 1.
int SelectMainMenuScreen();

int MainMenuScreenOpenHandler();
int MainMenuScreenDrawHandler();
int MainMenuScreenInputHandler();
int MainMenuScreenCloseHandler();
// What the framework calls in each frame of a modal dialog's own loop: nothing. Returns 1.
int MainMenuModalLoopCb(sBasicUiWidget* caller, int value);

int MainMenuResetLastGameType();
void MainMenuSetLastGameType(int type);
int MainMenuGetLastGameType();
// The next opening jumps from the main screen's start to the control-mode screen.
void MainMenuShowControlMode();

// The folds of the open handler for practice and pin selection: the menu reopens on the practice
// screen, its frame on the entry played. Return 1.
int UpdatePractice(sBasicUiWidget* caller, int value);
int UpdatePinSelect(sBasicUiWidget* caller, int value);

// Reads the volumes (columns 1 to 3 of row 0 of the save database's "options" table: music,
// effects, voice) and gives 1 when any differs from those read by the previous call, which it then
// remembers; 0 without the database or the table.
int GameOptionsHaveChanged();

// The UI descriptions by display variant (2 and 3 the larger ones; every other variant is this
// platform's, "Resource\ui360.xml").
const char* MainMenuDescriptionFor(int variant);
