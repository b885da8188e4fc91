// The front end's screens as the screen loop sees them: the current tab group (5 the title, 6 the
// main menu) and tab, the stack of screens to come back to, the change of screen with its
// background image, and the shared front-end resources (sounds 9000-9017 with the menu music
// stream) that stay loaded while the front end runs and go before a game.
#pragma once

struct DS3_stream_tag;

constexpr int kScreenStackMax = 20;
// The tab groups, which are also the screen results that run them.
enum { kTabGroupGame = 1, kTabGroupTitle = 5, kTabGroupMainMenu = 6 };

struct SCREENSTACKNODE {
    int tabGroup;
    int tab;
};

extern int gTabId;
extern SCREENSTACKNODE screenStack[kScreenStackMax];
extern int screenStackSize;

// Stores (tabGroup, tab) on the stack and resets gTabId; 0 (and nothing stored) when it is full.
int PushScreen(int tabGroup, int tab);
// Makes tabGroup current (-1 keeps the current group): selects its background (tab group 5 has
// one, every other none), and with setResult hands it to the screen loop. 0 when the group is
// already current and setResult is set, or when the background cannot be read or freed.
int ChangeScreen(int tabGroup, int setResult);
// gTabId = 0, then ChangeScreen(tabGroup, 1). The launchers call NextScreen(1) to play.
int NextScreen(int tabGroup);
// Loads the shared front-end resources and makes the menu music stream; 1 at once when they are
// loaded. 0 when a load or a stream fails.
int InitScreens(int unused);
// Leaves the current screen's background, fades and deletes every sound and stream and frees the
// shared resources; 1 at once when they are not loaded, 0 when freeing fails.
int ExitScreens(int unused);
// Back from a game: reloads the shared resources and returns to the title after an attract game,
// else to the main menu; quits when no screen was ever shown. 0 when loading fails.
int RestoreGUI();
// 1 while the shared front-end resources are loaded.
int ScreensInitialised();
// The resource id of the background selected by ChangeScreen, -1 for none.
int ScreenBackground();
// Forgets every screen: empty stack, no background, shared resources marked unloaded (the
// resources themselves are not touched). For a fresh start of the front end.
void ResetScreenStack();
