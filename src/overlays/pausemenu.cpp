// The pause menu: pauses the game and its sound, lists its entries beside touch buttons and acts
// on the touched one. The entries are laid out from the widths of their texts in the font the game
// ships, the button column placed as the longest sample text of each language asks.
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
#include "platform/video.h"
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
// An entry's text starts this far right of its button's left edge (the button's glyph, then a
// gap), and a toggle's value stands this far after the text.
static const int kTextAfterButton = kMenuButton + 8;
static const int kValueGap = 6;
// The line that says how to answer stands an entry's step below the last entry's button.
static const int kHintTop = 27;
// Reads of the controls while waiting for START to be let go; a START held for good (a stuck
// script) cannot hold the game for ever.
static const int kStartWaitReads = 600;

// A sample of the longest entry text of each language, to place the buttons beside the texts.
static const char* const sampleStrings[] = {"bumpers: off", "AFFICHAGE DE L'HUILE: Désactivé", "INDICAZIONE OLIO: non",
                                            "HILFE ANZEIGEN: Aus", "MOSTRAR AYUDA: no"};

// An effect plays once; its channel frees itself when the sound ends.
static void Click(int sound) { SoundPlayResource(unsigned(sound), gGameOptions.soundFXVolume, 1); }

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
    // A celebration clip does not play on behind the menu.
    if (VideoPlaying() && !DisposeVideo()) return 0;
    if (gCurrPlayer >= 0 && gCurrPlayer < kMaxPlayers) SetControllerRumble(gPlayerInfo[gCurrPlayer].controllerSlot, 0);
    SetChannelVolumeFade(nullptr, 0, 0);

    FreeMenuEntries(&menuHead, &menuTail);
    numMenuItems = 0;
    OverlayLeft = displaySafeArea.centerX - (displaySafeArea.width - 40) / 2;
    OverlayTop = displaySafeArea.centerY - 75;
    // The buttons stand in a column left of a block as wide as the language's longest entry; each
    // text starts right of its button, centred on it in height.
    const int language = gLanguage >= 1 && gLanguage <= 4 ? gLanguage : 0;
    TextOutputSelectFont(GetFontRSID(kOverlayFontBody));
    const int w = TextOutputLineLength(sampleStrings[language]);
    const int buttonX = screenLowerBufferHalfWidth - w / 2 - 42;
    const int buttonY = OverlayTop + 27;
    const int textLeft = buttonX + kTextAfterButton - OverlayLeft;
    const int textTop = buttonY + (kMenuButton - TextOutputGetFontHeight()) / 2 - OverlayTop;
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
        const uint16_t left = uint16_t(textLeft);
        const uint16_t top = uint16_t(textTop + kEntryStep * i);
        if (!AddMenuEntry(&menuHead, &menuTail, entries[i].text, left, top, uint16_t(buttonX),
                          uint16_t(buttonY + kEntryStep * i), entries[i].type, entries[i].function))
            return 0;
        ++numMenuItems;
    }
    currentMenuEntry = menuHead;

    // Each entry's ring and its words (with a toggle's value, either one) are one button.
    FreeButtons();
    int i = 0;
    for (const MenuEntry_tag* e = menuHead; e && i < kMaxButtons; e = e->nextEntry, ++i) {
        int right = OverlayLeft + e->textLeft + TextOutputLineLength(e->string);
        if (e->menuType != kEntryAction) {
            const int off = TextOutputLineLength(PauseString(7)), on = TextOutputLineLength(PauseString(8));
            right += Scaled(kValueGap) + (off > on ? off : on);
        }
        button[i] = NewTouchButton(buttonX, buttonY + kEntryStep * i, right - buttonX, kMenuButton);
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
    if (!DrawOverlayBackground(0, 0, 0, 0)) return 0;
    if (!TextOutputSelectFont(GetFontRSID(kOverlayFontBody))) return 0;
    TextOutputSetMode(kTextModeLeft);
    // The ring's ink stands at its button's corner, centred on the entry's words.
    const PictureBox ring = OverlayTextBox(0, 0, "{6}", kTextModeLeft);
    int i = 0;
    for (const MenuEntry_tag* e = menuHead; e; e = e->nextEntry, ++i) {
        const int x = OverlayLeft + e->textLeft;
        const int y = OverlayTop + e->textTop;
        if (!TextOutputDrawDirect(x, y, "%s", e->string)) return 0;
        PictureBox drawn = OverlayTextBox(x, y, e->string, kTextModeLeft);
        if (e->menuType != kEntryAction) {
            const int valueX = x + TextOutputLineLength(e->string) + Scaled(kValueGap);
            const char* value = ToggleValue(e->menuType) ? PauseString(8) : PauseString(7);
            if (!TextOutputDrawDirect(valueX, y, "%s", value)) return 0;
            drawn = BoxAround(drawn, OverlayTextBox(valueX, y, value, kTextModeLeft));
        }
        const TouchButton_tag* b = i < kMaxButtons ? button[i] : nullptr;
        if (!b) continue;
        if (!DrawOverlayText(b->x - ring.x, b->y - ring.y, "{6}")) return 0;
        NoteDrawnButton(BoxAround(drawn, PictureBox{b->x, b->y, ring.w, ring.h}));
    }
    // Only the mouse answers the menu: a player at the keys is told so under its entries.
    TextOutputSetMode(kTextModeCenter);
    const int hintY = OverlayTop + kHintTop + kEntryStep * numMenuItems;
    return DrawOverlayText(screenLowerBufferHalfWidth, hintY, HintString(kHintPauseWithMouse));
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
