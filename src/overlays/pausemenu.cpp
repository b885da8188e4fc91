#include "overlays/pausemenu.h"

#include "game/controls.h"
#include "game/gameloop.h"
#include "game/music.h"
#include "game/physics.h"
#include "game/records.h"
#include "game/scoring.h"
#include "lib/screenapi.h"
#include "lib/textoutput.h"
#include "overlays/overlaydraw.h"
#include "overlays/overlaystack.h"
#include "overlays/overlaystrings.h"
#include "overlays/questionoverlays.h"
#include "platform/input.h"
#include "platform/sound.h"
#include "platform/streams.h"
#include "shell/globals.h"
#include "shell/settings.h"
#include "shell/touchbuttons.h"

static MenuEntry_tag* menuHead = nullptr;
static MenuEntry_tag* menuTail = nullptr;
static int numMenuItems = 0;
static MenuEntry_tag* currentMenuEntry = nullptr;
static const int kMaxButtons = 4;
static TouchButton_tag* button[kMaxButtons];
static int OverlayLeft = 0, OverlayTop = 0;

enum { kEntryAction = 0, kEntryBumpers = 1, kEntryVibration = 2, kEntryControls = 3, kEntryOil = 4 };
static const int kClickSound = 0x232a;
static const int kToggleSound = 0x232d;
static const int kEntryStep = 40;
static const int kMenuButton = 32;
// Reads of the controls while waiting for START to be let go; a START held for good (a stuck
// script) cannot hold the game for ever.
static const int kStartWaitReads = 600;

// A sample of the longest entry text of each language, to place the buttons beside the texts.
static const char* const sampleStrings[] = {"bumpers: off", "AFFICHAGE DE L'HUILE: Désactivé", "INDICAZIONE OLIO: non",
                                            "HILFE ANZEIGEN: Aus", "MOSTRAR AYUDA: no"};

static void Click(int sound) { SoundPlayResource(unsigned(sound), gGameOptions.soundFXVolume, 0); }

static void WaitForStartLetGo()
{
    for (int i = 0; i < kStartWaitReads && (allInput.buttons & kButtonStart); ++i) ReadControls(nullptr);
}

int StartPauseMenuOverlay()
{
    const OVERLAYTAG overlay = {PauseMenuOpenHandler, PauseMenuDrawHandler, nullptr, PauseMenuInputHandler,
                                PauseMenuCloseHandler, 0};
    const int pushed = OverlaySelect(&overlay);
    WaitForStartLetGo();
    return pushed;
}

int ReturnToGame()
{
    if (gBackgroundMusicChannel) SetStreamVolume(gBackgroundMusicChannel, gGameOptions.soundMusicVolume);
    if (gBackgroundSoundChannel) SetStreamVolume(gBackgroundSoundChannel, gGameOptions.soundFXVolume);
    if (gameSoundChannel) SetChannelVolumeFade(gameSoundChannel, gGameOptions.soundFXVolume, 0);
    if (gameSoundChannel2) SetChannelVolumeFade(gameSoundChannel2, gGameOptions.soundFXVolume, 0);
    return 1;
}

// ---- Leaving the game ----

static int StartTransitionCallback()
{
    if (gBackgroundSoundChannel) StopStream(gBackgroundSoundChannel);
    return 1;
}

static int StartMainMenu()
{
    quitGame = 1;
    gGamePaused = 0;
    OverlayExitAll();
    return 1;
}

static int CompleteTransitionCallback() { return 1; }

static int OnConfirmQuit(int answer)
{
    PauseGame(0);
    gPauseMenuActive = 0;
    if (!answer) {
        Click(kClickSound);
        return StartPauseMenuOverlay();
    }
    StartGameReturnTransition(StartTransitionCallback, StartMainMenu, CompleteTransitionCallback);
    OverlayExitAll();
    return 1;
}

int ConfirmReturnToMainMenu()
{
    PauseGame(1);
    gPauseMenuActive = 1;
    return StartYesNoOverlay("", PauseString(16), ButtonString(3), OnConfirmQuit);
}

// ---- Handlers ----

static int Scaled(float v) { return int(v * gHiDefScaleFactor); }

static void FreeButtons()
{
    for (TouchButton_tag*& b : button) FreeTouchButton(&b);
}

int PauseMenuOpenHandler()
{
    if (!gGamePaused) {
        PauseGame(1);
        Click(kClickSound);
    }
    gPauseMenuActive = 1;
    if (gCurrPlayer >= 0 && gCurrPlayer < kMaxPlayers) SetControllerRumble(gPlayerInfo[gCurrPlayer].controllerSlot, 0);
    SetChannelVolumeFade(nullptr, 0, 0);

    FreeMenuEntries(&menuHead, &menuTail);
    numMenuItems = 0;
    OverlayLeft = displaySafeArea.centerX - (displaySafeArea.width - 40) / 2;
    struct Entry {
        const char* text;
        int type;
        int (*function)();
    };
    Entry entries[3];
    int n = 0;
    entries[n++] = {PauseString(0), kEntryAction, ReturnToGame};
    if (gGameType == kGameStandard && !gOnlineSessionActive) entries[n++] = {PauseString(2), kEntryBumpers, nullptr};
    entries[n++] = {PauseString(1), kEntryAction, ConfirmReturnToMainMenu};
    for (int i = 0; i < n; ++i) {
        const uint16_t left = uint16_t(Scaled(25));
        const uint16_t top = uint16_t(Scaled(9) + 8 + kEntryStep * i);
        if (!AddMenuEntry(&menuHead, &menuTail, entries[i].text, left, top, 0, 0, entries[i].type, entries[i].function))
            return 0;
        ++numMenuItems;
    }
    currentMenuEntry = menuHead;
    OverlayTop = displaySafeArea.centerY - 75;

    const int language = gLanguage >= 1 && gLanguage <= 4 ? gLanguage : 0;
    TextOutputSelectFont(GetFontRSID(kOverlayFontBody));
    const int w = TextOutputLineLength(sampleStrings[language]);
    FreeButtons();
    for (int i = 0; i < numMenuItems && i < kMaxButtons; ++i) {
        button[i] = NewTouchButton(screenLowerBufferHalfWidth - w / 2 - 42, OverlayTop + 27 + kEntryStep * i, kMenuButton,
                                   kMenuButton);
        if (!button[i]) return 0;
    }
    return 1;
}

static int ToggleValue(int type)
{
    switch (type) {
    case kEntryBumpers: return gPlayerInfo[0].bumpers;
    case kEntryVibration: return gGameOptions.vibration;
    case kEntryControls: return gGameOptions.drawControls;
    case kEntryOil: return gGameOptions.drawOil;
    default: return 0;
    }
}

int PauseMenuDrawHandler()
{
    OverlayTop = displaySafeArea.centerY - 75;
    DrawOverlayBackground(0, 0, 0, 0);
    if (!TextOutputSelectFont(GetFontRSID(kOverlayFontBody))) return 0;
    const int offW = TextOutputLineLength(PauseString(7));
    for (const MenuEntry_tag* e = menuHead; e; e = e->nextEntry) {
        TextOutputSetMode(kTextModeCenter);
        const int toggle = e->menuType != kEntryAction;
        int x = OverlayLeft + e->textLeft;
        if (toggle) x -= (offW + Scaled(14)) / 2;
        const int y = OverlayTop + e->textTop;
        TextOutputDrawDirect(x, y, "%s", e->string);
        if (toggle) {
            const int textW = TextOutputLineLength(e->string);
            const int valueX = OverlayLeft + e->textLeft + int(float(textW) * 0.5f) + offW / 2 + Scaled(10);
            TextOutputDrawDirect(valueX, y, "%s", ToggleValue(e->menuType) ? PauseString(8) : PauseString(7));
        }
    }
    TextOutputSetMode(kTextModeLeft);
    for (const TouchButton_tag* b : button)
        if (b) DrawOverlayText(b->x - 7, b->y + 4, "{6}");
    return 1;
}

int PauseMenuInputHandler()
{
    if (!gGamePaused) PauseGame(1);
    int k = -1;
    for (int i = 0; i < kMaxButtons; ++i) {
        if (!button[i]) continue;
        UpdateTouchButton(button[i]);
        if (button[i]->pressed) k = i;
    }
    if (k < 0) return 1;
    MenuEntry_tag* e = menuHead;
    for (int i = 0; i < k && e; ++i) e = e->nextEntry;
    if (!e) return 1;
    currentMenuEntry = e;
    if (e->menuType == kEntryAction) {
        int (*function)() = e->menuFunction;
        OverlayExit();
        if (function && !function()) return 0;
        Click(kClickSound);
        return 1;
    }
    if (e->menuType == kEntryBumpers && GetControlState() < kControlReleased) {
        gPlayerInfo[0].bumpers = gPlayerInfo[0].bumpers == 0 ? 1 : 0;
        Click(kToggleSound);
    }
    return 1;
}

int PauseMenuCloseHandler()
{
    FreeButtons();
    WaitForStartLetGo();
    PauseGame(0);
    gPauseMenuActive = 0;
    FreeMenuEntries(&menuHead, &menuTail);
    numMenuItems = 0;
    currentMenuEntry = nullptr;

    for (joystickState& c : controllers) {
        if (gGameOptions.vibration)
            c.flags |= kControllerFlagRumble;
        else
            c.flags &= ~unsigned(kControllerFlagRumble);
    }
    if (physics && physics->m_bumperLeftBody && physics->m_bumperRightBody) {
        if (!gPlayerInfo[0].bumpers)
            physics->SetBumpersRaised(0);
        else if (GetControlState() < kControlReleased)
            physics->SetBumpersRaised(1);
    }
    return 1;
}

int PauseMenuEntries() { return numMenuItems; }

TouchButton_tag* PauseMenuButton(int i) { return i >= 0 && i < kMaxButtons ? button[i] : nullptr; }
