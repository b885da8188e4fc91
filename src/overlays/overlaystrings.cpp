// The overlays' language tables, read at row gLanguage; an index outside a table gives an empty
// text rather than a fault, so that a missing entry shows as nothing on screen.
#include "overlays/overlaystrings.h"

#include "shell/globals.h"

// Only the English row exists; every language reads it.
static const int kLanguages = 1;

static const char* const generalOverlayStrings[kLanguages][kGeneralOverlayStrings] = {
    {"P%d", "NEXT", "SETUP", "BOWL", "POSITION", "ANGLE", "STOP", "POWER", "HOOK", "SLIDE AND HOLD",
     "SPARES CHALLENGE SHOT", "PIN SELECT", "TOGGLE"},
};
static const char* const generalGameStrings[kLanguages][kGeneralGameStrings] = {
    {"", "", "Game Over", "Would you like to play again?", "", "", "", "Converted", "Points", "",
     "attempt %d for %d points"},
};
static const char* const buttonStrings[kLanguages][kButtonStrings] = {
    {"{1} Continue", "", " Exit", "{1} Yes    {3} No", "Skip", "", "", "", "", "", "", "", "Skip Replay", "", "",
     "", "", "", "", "", "{2} LANE OIL", "{4} CHANGE BALL"},
};
static const char* const ballStrings[kLanguages][kBallStrings] = {
    {"Plastic %d lb", "Urethane %d lb", "Reactive %d lb", "Particle %d lb"},
};
static const char* const pauseStrings[kLanguages][kPauseStrings] = {
    {"Continue", "Quit Game", "Bumpers:", "", "", "Back", "", "Off", "On", "", "", "", "", "", "", "",
     "Are you sure you want to quit? Progress will be lost."},
};

static const char* const hintStrings[kLanguages][kHintStrings] = {
    {"Flick the ball up with the mouse", "Click an entry with the mouse", "HOLD SHIFT+A/D OR THE STICK"},
};

static int Row() { return gLanguage >= 0 && gLanguage < kLanguages ? gLanguage : 0; }

template <int N>
static const char* Entry(const char* const (&table)[kLanguages][N], int entry)
{
    return entry >= 0 && entry < N ? table[Row()][entry] : "";
}

const char* GeneralOverlayString(int entry) { return Entry(generalOverlayStrings, entry); }
const char* GeneralGameString(int entry) { return Entry(generalGameStrings, entry); }
const char* ButtonString(int entry) { return Entry(buttonStrings, entry); }
const char* PauseString(int entry) { return Entry(pauseStrings, entry); }
const char* HintString(int entry) { return Entry(hintStrings, entry); }
const char* BallString(int coverstock) { return Entry(ballStrings, coverstock); }
