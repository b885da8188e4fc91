// The main menu: the whole front end after the title. At start-up it prepares the UI framework;
// each time it opens it registers the script functions, loads the menus' UI description, folds in
// the game just played and then hands input and drawing to the framework.
#pragma once

struct sBasicDb;
struct sBasicUiScreen;
struct sBasicUiWidget;

// What the front end launched last (set by the launchers, read when the menu opens again).
enum {
    kLastGameNone = 0,
    kLastGameQuick = 1,
    kLastGameMini = 2,
    kLastGameOnline = 4,
    kLastGameLeague = 5,
    kLastGameTree = 6,
    kLastGameLadder = 7,
    kLastGameHighScore = 8,
    kLastGameRival = 9,
    kLastGamePractice = 10,
    kLastGamePinSelect = 11,
};

extern int basicUiEnvironmentStarted;
extern sBasicUiScreen* s0MainMenu;
extern sBasicUiScreen* s18ProShop;
extern int gMainMenuStarted;
// The save database, registered with the framework as "save"; null until the save flow loads it.
extern sBasicDb* dbSave;
// The step of MainMenuScreenInit that loads the save database, makes its image and reads or
// writes the save file. The save flow registers it at start-up; 1 when the database was built.
extern int (*gMainMenuSaveDatabaseStep)();

// Once at start-up: the UI framework, then the save database step. 0 when done is set or the
// save database step fails.
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
// screen. Return 1.
int UpdatePractice(sBasicUiWidget* caller, int value);
int UpdatePinSelect(sBasicUiWidget* caller, int value);

// Reads the volumes (columns 1 to 3 of row 0 of the save database's "options" table: music,
// effects, voice) and gives 1 when any differs from those read by the previous call, which it then
// remembers; 0 without the database or the table.
int GameOptionsHaveChanged();

// The UI descriptions by display variant (2 and 3 the larger ones; every other variant is this
// platform's, "Resource\ui360.xml").
const char* MainMenuDescriptionFor(int variant);
