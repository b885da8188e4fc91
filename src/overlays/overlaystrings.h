// The overlays' texts, one row per language (every table is read at row gLanguage). Escapes such
// as "{1}" draw button glyphs (overlays/overlaydraw.h).
#pragma once

constexpr int kGeneralOverlayStrings = 13;
constexpr int kGeneralGameStrings = 11;
constexpr int kButtonStrings = 22;
constexpr int kPauseStrings = 17;
constexpr int kBallStrings = 4;

// Lines that tell a player which device a step answers to.
enum {
    kHintFlickWithMouse,  // the flick step: only the mouse (the stylus) throws
    kHintPauseWithMouse,  // the pause menu: only the mouse answers it
    kHintHookKeys,        // the hook step: the keys and the stick that set the hook
    kHintStrings
};

// Entry `entry` of a table in the current language; "" for an entry outside the table.
const char* GeneralOverlayString(int entry);
const char* GeneralGameString(int entry);
const char* ButtonString(int entry);
const char* PauseString(int entry);
const char* HintString(int entry);
// A ball's name and weight by its coverstock (the ball index / kBallWeightsPerCoverstock), a
// format for the weight in whole pounds.
const char* BallString(int coverstock);
