// Launching a game from the command line: the players, their bowlers and balls filled in as the
// front end's launchers will, then the game's screen result set.
#include "screens/quicklaunch.h"

#include <cstring>

#include "game/animation.h"
#include "game/areas.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/minigames.h"
#include "game/records.h"
#include "game/scoring.h"
#include "host/host.h"
#include "lib/characterarchive.h"
#include "lib/printing.h"
#include "lib/resourceids.h"
#include "lib/screenapi.h"
#include "screens/galleryview.h"
#include "shell/settings.h"

static const int kResultPlayGame = 1;
static const int kOilPattern = 1;
static const int kAttractBowlers = 1;
// A player's controller assignment when a person bowls (anything but the computer's).
static const int kAssignmentPerson = 0;

// Balls of the game data: index = coverstock x 8 + weight. Every bowler carries a reactive, a
// urethane and a plastic ball, all 15 lb.
static const int kBowlerBalls[kBallsPerPlayer] = {2 * 8 + 6, 1 * 8 + 6, 0 * 8 + 6};

// Each bowler wears one of the body meshes of the game data.
static const int kBodyMeshes[kMaxPlayers] = {911, 939, 953, 960, 932, 911, 939, 953};

static const char* const kFirstNames[kMaxPlayers] = {"Ada", "Bo", "Cy", "Di", "Ed", "Flo", "Gus", "Hal"};

// The outfits come from the character archive (lib/characterarchive.h, content/README.md): the
// garment textures, the garments every body shares, each body's shirts and gloves, and the hair
// groups by colour; the balls' textures from kBallTextureGroup (lib/resourceids.h).

// One bowler's look: colours are the destination textures' places after their source; a hair
// range of the hair group (members 1 crop, 2 long, 3 bun; -1 to the end).
struct Outfit {
    int shirt, sleeves, pants, trousers, shoes, hat, glasses, gloves, hair, hairStart, hairEnd;
};
static const Outfit kOutfits[kMaxPlayers] = {
    {1, kShortSleeves, 1, kLongPants, 1, 0, 0, 2, 0, 1, 2},
    {2, kLongSleeves, 3, kLongPants, 2, 1, 0, 0, 1, 1, 2},
    {3, kShortSleeves, 2, kShorts, 4, 0, 1, 0, 2, 1, -1},
    {4, kShortSleeves, 4, kLongPants, 3, 3, 0, 1, 3, 1, 3},
    {5, kLongSleeves, 5, kLongPants, 1, 0, 2, 0, 0, 1, 2},
    {6, kShortSleeves, 6, kShorts, 2, 2, 0, 3, 2, 1, 3},
    {7, kShortSleeves, 1, kLongPants, 4, 0, 2, 0, 1, 1, -1},
    {8, kLongSleeves, 2, kLongPants, 3, 4, 0, 2, 3, 1, 2},
};

static int Member(int group, int index) { return (group << 16) | index; }
static int GarmentTexture(int index) { return Member(kGarmentTextures, index); }

// Dresses the bowler: every swap names its source texture, the garment's own, and the colour it
// takes instead; a garment not worn is 0 with its textures.
static void Dress(PlayerDataTag& d, const Outfit& o, const BallDataTag* balls)
{
    const int bodyGarments = kBodyGarmentsFirst + AnimationBodyIndex(d.bodyMeshRSID);
    d.bodyRSIDTextureG = GarmentTexture(kTexBodyPalette);
    d.shirtMeshRSID = Member(bodyGarments, o.sleeves);
    d.shirtRSIDSrcTextureD = GarmentTexture(kTexShirt);
    d.shirtRSIDDstTextureD = GarmentTexture(kTexShirt + o.shirt);
    d.pantsMeshRSID = Member(kSharedGarments, o.trousers);
    d.pantsRSIDSrcTextureD = GarmentTexture(kTexPants);
    d.pantsRSIDDstTextureD = GarmentTexture(kTexPants + o.pants);
    d.legsMeshRSID = o.trousers == kShorts ? Member(kSharedGarments, kBareLegs) : 0;
    d.socksMeshRSID = Member(kSharedGarments, kSocks);
    d.shoesMeshRSID = Member(kSharedGarments, kShoes);
    d.shoesRSIDSrcTextureD = GarmentTexture(kTexShoes);
    d.shoesRSIDDstTextureD = GarmentTexture(kTexShoes + o.shoes);
    if (o.hat) {
        d.hatMeshRSID = Member(kSharedGarments, kCap);
        d.hatRSIDSrcTextureD = GarmentTexture(kTexHat);
        d.hatRSIDDstTextureD = GarmentTexture(kTexHat + o.hat);
    }
    if (o.glasses) {
        d.glassesMeshRSID = Member(kSharedGarments, kGlasses);
        d.glassesRSIDSrcTextureD = GarmentTexture(kTexGlasses);
        d.glassesRSIDDstTextureD = GarmentTexture(kTexGlasses + o.glasses);
    }
    if (o.gloves) {
        d.glovesMeshRSID = Member(bodyGarments, kGloves);
        d.glovesRSIDSrcTextureD = GarmentTexture(kTexGloves);
        d.glovesRSIDDstTextureD = GarmentTexture(kTexGloves + o.gloves);
    }
    d.hairMeshRSID = kHairGroupsFirst + o.hair;
    d.hairTextureRSID = Member(d.hairMeshRSID, 0);
    d.hairStart = o.hairStart;
    d.hairEnd = o.hairEnd;
    // The ball model and its textures are the lane's; a bowler's balls differ by their texture.
    for (int b = 0; b < kBallsPerPlayer; ++b) d.ballRSIDDstTextureD[b] = Member(kBallTextureGroup, balls[b].ballIndex + 2);
}

static void FillBowler(int i, int person)
{
    TITLE_PlayerInfoStruct& p = gPlayerInfo[i];
    std::memset(&p.playerData, 0, sizeof p.playerData);
    std::strncpy(p.playerData.firstName, kFirstNames[i], sizeof p.playerData.firstName - 1);
    std::strncpy(p.playerData.lastName, person ? "Player" : "Computer", sizeof p.playerData.lastName - 1);
    std::strncpy(p.playerData.nickName, kFirstNames[i], sizeof p.playerData.nickName - 1);
    p.playerData.bodyMeshRSID = kBodyMeshes[i];
    p.playerData.throwPower = 90;
    p.playerData.throwAccuracy = 85;
    p.playerData.throwHookMin = 20;
    p.playerData.throwHookMax = 60;
    p.playerData.throwAverage = 180;
    p.playerData.throwVariance = 20;
    for (int b = 0; b < kBallsPerPlayer; ++b) {
        p.ballData[b] = BallDataTag{};
        p.ballData[b].ballIndex = u8(kBowlerBalls[b]);
    }
    p.playerData.bioIndex = u8(i);
    Dress(p.playerData, kOutfits[i], p.ballData);
    p.ballSelected = 0;
    p.leftHanded = 0;
    p.laneNum = 1;
    p.controllerSlot = 0;
    p.suspendControls = 0;
    p.bumpers = 0;
    ResetPlayerInfo(&p);
}

// The games the command line launches, by name, with their game type.
struct LaunchMode {
    const char* name;
    int gameType;
};
static const LaunchMode kLaunchModes[] = {
    {"quick", kGameStandard}, {"attract", kGameAttract}, {"spares", kGameSpares},
    {"bingo", kGameBingo},    {"poker", kGamePoker},     {"pinselect", kGamePinSelect},
};

// A computer bowlers' pin practice ends after this many balls a bowler; people leave it through
// the pause menu.
static const int kPracticeBallsPerBowler = 5;

int QuickLaunchGame(const char* mode, int players, int humans)
{
    if (!mode) return PrintError("launch: no mode");
    const LaunchMode* launch = nullptr;
    for (const LaunchMode& m : kLaunchModes)
        if (std::strcmp(mode, m.name) == 0) launch = &m;
    if (!launch) return PrintError("launch: no mode '%s'", mode);
    const int attract = launch->gameType == kGameAttract;
    if (attract) players = kAttractBowlers;
    if (players < 1 || players > kMaxPlayers) return PrintError("launch: %d bowlers cannot play", players);
    if (humans < 0 || humans > players || (attract && humans > 0))
        return PrintError("launch: %d people cannot bowl among %d bowlers", humans, players);

    for (int i = 0; i < kMaxPlayers; ++i) {
        FillBowler(i, i < humans);
        // The people bowl first, then the computer's bowlers; the other records are nobody's.
        SetControllerAssignment(i, i < players && i >= humans ? kAssignmentComputer : kAssignmentPerson);
    }
    gNumPlayers = players;
    gGameType = launch->gameType;
    gPracticeBallLimit = launch->gameType == kGamePinSelect && humans == 0 ? kPracticeBallsPerBowler * players : 0;
    gGameOptions.oilPattern = kOilPattern;
    areaNum = 0;
    // A launched game has no menu screen to go back to: the program ends with it. The attract
    // game goes back to the title screen as it does behind the menus.
    if (!attract) gTabGroupId = -1;
    ScreenSetResult(kResultPlayGame);
    return 1;
}

int LaunchPending() { return gHostOptions.launch.empty() ? 0 : 1; }

int LaunchFromOptions()
{
    if (!LaunchPending()) return 0;
    if (gHostOptions.launch == "gallery") return SelectWidgetGallery();
    if (!QuickLaunchGame(gHostOptions.launch.c_str(), gHostOptions.players, gHostOptions.humans)) return 0;
    // The controls the people chose for their throws, as the front end's options do: 0 the
    // stylus, any other value the buttons.
    gGameOptions.controlMode = gHostOptions.buttonControls ? 1 : 0;
    return 1;
}
