// The root menu of test mode and the tuning menus that change the game's own records: the shot
// that the next throw uses, the current bowler's ratings, music and sound, the lane reflection and
// a memory read-out. Each line is an item function (testmenus.h); a menu is the table of them.
#include <cstdio>

#include "game/gameloop.h"
#include "game/records.h"
#include "lib/memory.h"
#include "lib/resourceids.h"
#include "lib/resources.h"
#include "platform/sound.h"
#include "platform/streams.h"
#include "testmode/testmenus.h"
#include "testmode/testmode.h"

// These keep their values for the whole run: test mode picks up where it left off.
static int musicRSID = kDefaultSong;
static int soundRSID = kSoundMenuSelect;
static unsigned totalLength = 0;
static unsigned totalChunks = 0;

int GetTestmodeMemoryState()
{
    DefaultHeapMemoryAvailable(&totalLength);
    DefaultHeapNumFragments(&totalChunks);
    return 1;
}

// ---- Root ----

// A line that only enters a submenu.
#define ENTER_LINE(name, label, menu)                                   \
    static int name(int action, char* text)                             \
    {                                                                   \
        if (action == kItemLabel) return ItemLabel(text, "%s", label);  \
        if (action == kItemSelect) return EnterTestMenu(menu, RootMenu); \
        return 1;                                                       \
    }
ENTER_LINE(ItemCreateLightsetMenu, "CREATE LIGHTSET", CreateLightsetMenu)
ENTER_LINE(ItemEditLightsetMenu, "EDIT LIGHTSET", EditLightsetMenu)
ENTER_LINE(ItemBallMenu, "Ball Params", BallMenu)
ENTER_LINE(ItemBowlerMenu, "Bowler Params", BowlerMenu)
ENTER_LINE(ItemVisualsMenu, "VISUALS", VisualsMenu)
ENTER_LINE(ItemAudioMenu, "AUDIO", AudioMenu)
ENTER_LINE(ItemStaticCamerasMenu, "STATIC CAMERAS", StaticCamerasMenu)
#undef ENTER_LINE

static int ItemParticlesMenu(int action, char* text)
{
    if (action == kItemLabel) return ItemLabel(text, "PARTICLES");
    if (action != kItemSelect) return 1;
    if (!LoadTestParticleGroups()) return 0;
    EnterTestMenu(ParticlesMenu, RootMenu);
    testOptions.numParticleBitmaps = NumResourcesInGroup(kParticleBitmapGroup);
    return TestModeLoadParticleSystemDefinition();
}

static int ItemModelMenu(int action, char* text)
{
    if (action == kItemLabel) return ItemLabel(text, "MODEL");
    if (action != kItemSelect) return 1;
    ChangeTestModel(testOptions.modelNum, testOptions.modelNum);
    return EnterTestMenu(ModelMenu, RootMenu);
}

static int ItemActorSnap(int action, char* text)
{
    if (action == kItemLabel) return ItemLabel(text, "Actor Snap: %s", TestActorSnapEnabled() ? "on" : "off");
    SwitchTestActorSnap();
    return 1;
}

static int ItemMemory(int action, char* text)
{
    if (action == kItemLabel) return ItemLabel(text, "MEMORY");
    if (action != kItemSelect) return 1;
    GetTestmodeMemoryState();
    return EnterTestMenu(MemoryMenu, RootMenu);
}

TestItem RootMenu[] = {{ItemParticlesMenu}, {ItemCreateLightsetMenu}, {ItemEditLightsetMenu}, {ItemBallMenu},
                       {ItemBowlerMenu},    {ItemVisualsMenu},        {ItemAudioMenu},        {ItemModelMenu},
                       {ItemActorSnap},     {ItemStaticCamerasMenu},  {ItemMemory},           {nullptr}};

// ---- Ball: the shot fields ----

#define FLOAT_LINE(name, label, field, step, lo, hi)                                    \
    static int name(int action, char* text)                                             \
    {                                                                                   \
        if (action == kItemLabel) return ItemLabel(text, label, double(field));         \
        StepFloatClamped(action, &field, step, lo, hi);                                 \
        return 1;                                                                       \
    }
FLOAT_LINE(ItemBallInitialVel, "Initial Vel(ft/s): %.1f", testOptions.initialBallVel, 0.1f, 0.0f, 28.0f)
FLOAT_LINE(ItemBallInitialHeading, "Initial heading(left(-)right(+)): %.1f", testOptions.initialBallHeading, 0.1f,
           -40.0f, 40.0f)
FLOAT_LINE(ItemBallInitialRotX, "Initial X rotation(backspin(-)forward(+)): %.1f", testOptions.initialBallRotx, 0.1f,
           -9999.0f, 9999.0f)
FLOAT_LINE(ItemBallInitialRotY, "Initial Y rotation(left(-)right(+)): %.1f", testOptions.initialBallRoty, 0.1f,
           -9999.0f, 9999.0f)
FLOAT_LINE(ItemBallInitialXangle, "Initial release angle(up(0+)): %.1f", testOptions.initialBallXangle, 0.1f, 0.0f,
           40.0f)
#undef FLOAT_LINE

TestItem BallMenu[] = {{ItemBallInitialVel},  {ItemBallInitialHeading}, {ItemBallInitialRotX},
                       {ItemBallInitialRotY}, {ItemBallInitialXangle},  {nullptr}};

// ---- Bowler: the ratings of the player whose turn it is ----

static PlayerDataTag& CurrentBowler() { return gPlayerInfo[gCurrPlayer].playerData; }

#define BYTE_LINE(name, label, field)                                                   \
    static int name(int action, char* text)                                             \
    {                                                                                   \
        if (action == kItemLabel) return ItemLabel(text, label, int(field));            \
        StepByteClamped(action, &field, 0, 100);                                        \
        return 1;                                                                       \
    }
BYTE_LINE(ItemBowlerAccuracy, "Accuracy: %d", CurrentBowler().throwAccuracy)
BYTE_LINE(ItemBowlerPower, "Power: %d", CurrentBowler().throwPower)
BYTE_LINE(ItemBowlerHookMin, "Hook Min: %d", CurrentBowler().throwHookMin)
BYTE_LINE(ItemBowlerHookMax, "Hook Max: %d", CurrentBowler().throwHookMax)
BYTE_LINE(ItemSoundFXVolume, "SOUND FX VOLUME: %d", gGameOptions.soundFXVolume)
#undef BYTE_LINE

TestItem BowlerMenu[] = {{ItemBowlerAccuracy}, {ItemBowlerPower}, {ItemBowlerHookMin}, {ItemBowlerHookMax}, {nullptr}};

// ---- Audio ----

static int ItemMusic(int action, char* text)
{
    if (action == kItemLabel) return ItemLabel(text, "MUSIC RSID: %d", musicRSID);
    if (!StepIntClamped(action, &musicRSID, 1, kDefaultSong, kDefaultSong + 2)) return 1;
    return SoundStreamNextResource(gBackgroundMusicChannel, musicRSID);
}

static int ItemSound(int action, char* text)
{
    if (action == kItemLabel) return ItemLabel(text, "SOUND RSID: %d", soundRSID);
    if (StepIntClamped(action, &soundRSID, 1, kSoundMenuSelect, kSoundStrikeSlow))
        SoundPlayResource(unsigned(soundRSID), gGameOptions.soundFXVolume, 1);
    return 1;
}

static int ItemMusicVolume(int action, char* text)
{
    if (action == kItemLabel) return ItemLabel(text, "MUSIC VOLUME: %d", int(gGameOptions.soundMusicVolume));
    if (!StepByteClamped(action, &gGameOptions.soundMusicVolume, 0, 100)) return 1;
    return SetStreamVolume(gBackgroundMusicChannel, gGameOptions.soundMusicVolume);
}

TestItem AudioMenu[] = {{ItemMusic}, {ItemSound}, {ItemMusicVolume}, {ItemSoundFXVolume}, {nullptr}};

// ---- Visuals ----

static int ItemReflectionAlpha(int action, char* text)
{
    if (action == kItemLabel) return ItemLabel(text, "REFLECTION ALPHA: %d", int(gReflectionAlpha));
    StepByteClamped(action, &gReflectionAlpha, 0, 128);
    return 1;
}

TestItem VisualsMenu[] = {{ItemReflectionAlpha}, {nullptr}};

// ---- Memory: read when the root's line was selected ----

static int ItemTotalFreeRAM(int action, char* text)
{
    return action == kItemLabel ? ItemLabel(text, "TOTAL FREE RAM: %d", int(totalLength)) : 1;
}

static int ItemNumChunks(int action, char* text)
{
    return action == kItemLabel ? ItemLabel(text, "TOTAL FRAGMENTS: %d", int(totalChunks)) : 1;
}

TestItem MemoryMenu[] = {{ItemTotalFreeRAM}, {ItemNumChunks}, {nullptr}};
