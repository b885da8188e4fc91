// The player records of a game, filled from the "save" and "game" databases. The look follows the
// character data the game data holds: a body row of "Bodys" names the body mesh, its skin
// palette, its hair group and the resource groups its clothes come from; an item row names the
// mesh inside its group and the source and colour textures of the swap. Two things differ from
// the item columns' first design: gloves are fitted to each body, so they come from the body's
// own garment group (the shirt group) rather than the group of hats and glasses; and no bowler
// carries a ball mesh of its own, since the ball in the hand is the game's ball actor.
#include "screens/playerfill.h"

#include <cstdio>
#include <cstring>

#include "game/gameloop.h"
#include "game/records.h"
#include "platform/input.h"
#include "lib/printing.h"
#include "screens/frontenddb.h"

static const int kHandCareer = 4;
static const int kBoostPower = 15;
static const int kBoostAccuracy = 0;
static const int kBoostHook = 25;
static const int kRivalMiniGame = 9;
static const int kDefaultBallsFemale[kBallsPerPlayer] = {23, 11, 7};
static const int kDefaultBallsMale[kBallsPerPlayer] = {24, 4, 9};


int ToRSID(int group, int index) { return group > 0 && index >= 0 ? (group << 16) + index : -1; }

int clampAdj(int min, int value, int max, int adjust)
{
    const int v = value + adjust;
    return v < min ? min : (v > max ? max : v);
}

uint8_t QuickMin(uint8_t a, uint8_t b) { return a < b ? a : b; }

int FindFirstAvailableController()
{
    int lowest = -1, highest = -1;
    for (int i = 0; i < kNumControllerStates; ++i) {
        if (!controllers[i].controller) continue;
        if (lowest < 0) lowest = i;
        highest = i;
    }
    if (lowest < 0) return 0;
    return highest + 1 >= 4 ? highest + 1 : lowest + 1;
}

static TITLE_PlayerInfoStruct* Slot(int slot)
{
    if (slot < 0 || slot >= kMaxPlayers) {
        PrintError("launch: no player slot %d", slot);
        return nullptr;
    }
    return &gPlayerInfo[slot];
}

static int InTable(sBasicDbTable* table, int row) { return table && row >= 0 && row < table->rows; }

static int WriteNames(sBasicDbTable* table, int row, int slot, int numberRow, int numbered)
{
    TITLE_PlayerInfoStruct* p = Slot(slot);
    if (!p || !InTable(table, row)) return 0;
    PlayerDataTag& d = p->playerData;
    CopyCellText(table, 1, row, d.firstName, int(sizeof d.firstName));
    if (!CopyCellText(table, 2, numberRow, d.nickName, int(sizeof d.nickName))) d.nickName[0] = '\0';
    d.lastName[0] = '\0';
    if (numbered && gGameType == kRivalMiniGame) std::snprintf(d.lastName, sizeof d.lastName, "(P%i)", slot + 1);
    return 1;
}

int WritePlayerNameAndNumber(sBasicDbTable* table, int row, int slot, int numberRow)
{
    return WriteNames(table, row, slot, numberRow, 1);
}

int WriteCPUNameAndNumber(sBasicDbTable* table, int row, int slot, int numberRow)
{
    return WriteNames(table, row, slot, numberRow, 1);
}

int WriteNPCName(sBasicDbTable* table, int row, int slot, int numberRow) { return WriteNames(table, row, slot, numberRow, 0); }

static int Stats(int slot, int row, int boostPower, int boostAccuracy, int boostHook)
{
    TITLE_PlayerInfoStruct* p = Slot(slot);
    sBasicDbTable* players = FrontEndTable(nullptr, "save", "players");
    if (!p || !InTable(players, row)) return 0;
    auto rating = [&](int column, int boost) {
        const int v = (BasicDbTable_GetElementI(players, column, row, 0) + boost) & 0xFF;
        return uint8_t(v > 100 ? 100 : v);
    };
    p->playerData.throwPower = rating(3, boostPower);
    p->playerData.throwAccuracy = rating(4, boostAccuracy);
    p->playerData.throwHookMax = rating(5, boostHook);
    p->playerData.throwHookMin = 0;
    return 1;
}

int SetPlayerStats(int slot, int row) { return Stats(slot, row, 0, 0, 0); }

int SetPlayerStatsQuick(int slot, int row) { return Stats(slot, row, kBoostPower, kBoostAccuracy, kBoostHook); }

int SetNPCAbilities(int slot, int female, int average, int spread)
{
    TITLE_PlayerInfoStruct* p = Slot(slot);
    sBasicDbTable* abilities = FrontEndTable(nullptr, "game", "NPCAbilities");
    if (!p || !abilities) return 0;
    int row = 0;
    for (int r = 0; r < abilities->rows; ++r)
        if (BasicDbTable_GetElementI(abilities, 0, r, 0) <= average) row = r;
    const int first = female ? 4 : 1;
    p->playerData.throwPower = uint8_t(BasicDbTable_GetElementI(abilities, first, row, 0));
    p->playerData.throwAccuracy = uint8_t(BasicDbTable_GetElementI(abilities, first + 1, row, 0));
    p->playerData.throwHookMax = uint8_t(BasicDbTable_GetElementI(abilities, first + 2, row, 0));
    p->playerData.throwHookMin = 0;
    p->playerData.throwAverage = average;
    p->playerData.throwVariance = spread;
    return 1;
}

// The tables a bowler's look and modifiers are read from.
struct Wardrobe {
    sBasicDbTable *source, *bodies, *pants, *shirts, *shoes, *hats, *glasses, *gloves, *balls;
};

static sBasicDbTable* GameTable(const char* name) { return FrontEndTable(nullptr, "game", name); }

static int OpenWardrobe(Wardrobe* w, int fromNPCs, int female, int left, const char* ballTable)
{
    w->source = fromNPCs ? GameTable("NPCs") : FrontEndTable(nullptr, "save", "players");
    w->bodies = GameTable("Bodys");
    w->pants = GameTable(female ? "Skirts" : "Pants");
    w->shirts = GameTable("Shirts");
    w->shoes = GameTable("Shoes");
    w->hats = GameTable(female ? "HatsF" : "HatsM");
    w->glasses = GameTable(female ? "GlassesF" : "GlassesM");
    w->gloves = GameTable(left ? "GlovesL" : "GlovesR");
    w->balls = GameTable(ballTable);
    return w->source && w->bodies && w->pants && w->shirts && w->shoes && w->hats && w->glasses && w->gloves && w->balls;
}

static int AllItemTablesExist()
{
    static const char* const kTables[] = {"Bodys", "Pants", "Skirts", "Shirts", "Shoes", "HatsM",
                                          "HatsF", "GlassesM", "GlassesF", "GlovesL", "GlovesR", "BallsR"};
    for (const char* name : kTables)
        if (!GameTable(name)) return 0;
    return 1;
}

static int HandIndex(int fromNPCs, int handSlot, int careerHand)
{
    if (fromNPCs) return 0;
    return careerHand && handSlot == 0 ? kHandCareer : handSlot;
}

// The four textures of one swap: source diffuse, normal and specular, and the colour it takes.
static void Swap(int group, sBasicDbTable* items, int row, int* d, int* n, int* s, int* dst)
{
    const int worn = row >= 0;
    *d = worn ? ToRSID(group, BasicDbTable_GetElementI(items, kItemTexD, row, -1)) : -1;
    *n = worn ? ToRSID(group, BasicDbTable_GetElementI(items, kItemTexN, row, -1)) : -1;
    *s = worn ? ToRSID(group, BasicDbTable_GetElementI(items, kItemTexS, row, -1)) : -1;
    *dst = worn ? ToRSID(group, BasicDbTable_GetElementI(items, kItemTexDst, row, -1)) : -1;
}

int SetupPlayerRSIDs(int slot, int row, int fromNPCs, int handSlot, int careerHand, int defaultBalls)
{
    TITLE_PlayerInfoStruct* p = Slot(slot);
    if (!p || !AllItemTablesExist()) return 0;
    sBasicDbTable* source = fromNPCs ? GameTable("NPCs") : FrontEndTable(nullptr, "save", "players");
    if (!InTable(source, row)) return PrintError("launch: no bowler in row %d", row);
    const int left = BasicDbTable_GetElementIN(source, 6, row, HandIndex(fromNPCs, handSlot, careerHand), 0);
    sBasicDbTable* bodies = GameTable("Bodys");
    const int body = BasicDbTable_GetElementI(source, 10, row, 0);
    if (!InTable(bodies, body)) return PrintError("launch: bowler %d has no body %d", row, body);
    const int female = BasicDbTable_GetElementI(bodies, kBodyFemale, body, 0) != 0;
    Wardrobe w;
    if (!OpenWardrobe(&w, fromNPCs, female, left, "BallsR")) return 0;
    p->leftHanded = left;
    PlayerDataTag& d = p->playerData;
    auto bodyValue = [&](int column) { return BasicDbTable_GetElementI(bodies, column, body, 0); };
    auto worn = [&](int column) { return BasicDbTable_GetElementI(source, column, row, -1); };
    auto itemValue = [&](sBasicDbTable* items, int item, int column) {
        return item < 0 ? -1 : BasicDbTable_GetElementI(items, column, item, -1);
    };
    const int pants = worn(11), shirt = worn(12), shoes = worn(13), hat = worn(14), glasses = worn(15), gloves = worn(16);

    d.ikRig = body;
    d.bodyRSIDTextureG = bodyValue(kBodyTexture);
    d.bodyMeshRSID = bodyValue(kBodyMesh);
    d.hairMeshRSID = bodyValue(kBodyHair);
    d.hairTextureRSID = ToRSID(d.hairMeshRSID, 0);
    d.ballMeshRSID_R = d.ballMeshRSID_L = -1;
    const int ballTextures = bodyValue(kBodyBallTex);
    d.ballRSIDSrcTextureD = ToRSID(ballTextures, 2);
    d.ballRSIDSrcTextureN = ToRSID(ballTextures, 0);
    d.ballRSIDSrcTextureS = ToRSID(ballTextures, 1);
    Swap(bodyValue(kBodyPantsTex), w.pants, pants, &d.pantsRSIDSrcTextureD, &d.pantsRSIDSrcTextureN,
         &d.pantsRSIDSrcTextureS, &d.pantsRSIDDstTextureD);
    Swap(bodyValue(kBodyShirtTex), w.shirts, shirt, &d.shirtRSIDSrcTextureD, &d.shirtRSIDSrcTextureN,
         &d.shirtRSIDSrcTextureS, &d.shirtRSIDDstTextureD);
    Swap(bodyValue(kBodyShoesTex), w.shoes, shoes, &d.shoesRSIDSrcTextureD, &d.shoesRSIDSrcTextureN,
         &d.shoesRSIDSrcTextureS, &d.shoesRSIDDstTextureD);
    const int itemTextures = bodyValue(kBodyItemTex);
    Swap(itemTextures, w.hats, hat, &d.hatRSIDSrcTextureD, &d.hatRSIDSrcTextureN, &d.hatRSIDSrcTextureS,
         &d.hatRSIDDstTextureD);
    Swap(itemTextures, w.glasses, glasses, &d.glassesRSIDSrcTextureD, &d.glassesRSIDSrcTextureN,
         &d.glassesRSIDSrcTextureS, &d.glassesRSIDDstTextureD);
    Swap(itemTextures, w.gloves, gloves, &d.glovesRSIDSrcTextureD, &d.glovesRSIDSrcTextureN,
         &d.glovesRSIDSrcTextureS, &d.glovesRSIDDstTextureD);
    d.pantsMeshRSID = ToRSID(bodyValue(kBodyPantsGroup), itemValue(w.pants, pants, kItemMesh));
    d.legsMeshRSID = ToRSID(bodyValue(kBodyPantsGroup), itemValue(w.pants, pants, kItemLegs));
    d.socksMeshRSID = ToRSID(bodyValue(kBodyPantsGroup), itemValue(w.pants, pants, kItemSocks));
    d.shirtMeshRSID = ToRSID(bodyValue(kBodyShirtGroup), itemValue(w.shirts, shirt, kItemMesh));
    d.shoesMeshRSID = ToRSID(bodyValue(kBodyShoesGroup), itemValue(w.shoes, shoes, kItemMesh));
    d.hatMeshRSID = ToRSID(bodyValue(kBodyItemGroup), itemValue(w.hats, hat, kItemMesh));
    d.glassesMeshRSID = ToRSID(bodyValue(kBodyItemGroup), itemValue(w.glasses, glasses, kItemMesh));
    d.glovesMeshRSID = ToRSID(bodyValue(kBodyShirtGroup), itemValue(w.gloves, gloves, kItemMesh));
    const int hairEntry = hat >= 0 ? BasicDbTable_GetElementI(w.hats, kItemHair, hat, 0) : 0;
    d.hairStart = BasicDbTable_GetElementIN(bodies, kBodyHairStart, body, hairEntry, 0);
    d.hairEnd = BasicDbTable_GetElementIN(bodies, kBodyHairEnd, body, hairEntry, -1);

    for (int b = 0; b < kBallsPerPlayer; ++b) {
        const int ballRow = defaultBalls ? (female ? kDefaultBallsFemale[b] : kDefaultBallsMale[b])
                                         : BasicDbTable_GetElementIN(source, 17, row, b, -1);
        const int texture = BasicDbTable_GetElementI(w.balls, kItemTexDst, ballRow, 2);
        d.ballRSIDDstTextureD[b] = ToRSID(901, texture);
        p->ballData[b].ballIndex = uint8_t(texture >= 2 ? texture - 2 : 0);
    }
    return 1;
}

int UpdateModifiers(int slot, int row, int fromNPCs, int careerHand)
{
    TITLE_PlayerInfoStruct* p = Slot(slot);
    if (!p || !AllItemTablesExist() || !GameTable("BallsL")) return 1;
    sBasicDbTable* source = fromNPCs ? GameTable("NPCs") : FrontEndTable(nullptr, "save", "players");
    if (!InTable(source, row)) return 1;
    const int female = BasicDbTable_GetElementI(source, 7, row, 0) != 0;
    const int left = BasicDbTable_GetElementIN(source, 6, row, HandIndex(fromNPCs, slot, careerHand), 0);
    Wardrobe w;
    if (!OpenWardrobe(&w, fromNPCs, female, left, left ? "BallsL" : "BallsR")) return 1;
    sBasicDbTable* items[6] = {w.pants, w.shirts, w.shoes, w.hats, w.glasses, w.gloves};
    int sums[3] = {0, 0, 0};
    for (int k = 0; k < 6; ++k) {
        const int item = BasicDbTable_GetElementI(source, 11 + k, row, -1);
        for (int m = 0; m < 3; ++m) sums[m] += BasicDbTable_GetElementI(items[k], 3 + m, item, 0);
    }
    p->playerData.throwPowerMod = uint8_t(sums[0]);
    p->playerData.throwAccuracyMod = uint8_t(sums[1]);
    p->playerData.throwHookMod = uint8_t(sums[2]);
    for (int b = 0; b < kBallsPerPlayer; ++b) {
        const int ball = BasicDbTable_GetElementIN(source, 17, row, b, -1);
        p->ballData[b].powerMod = uint8_t(BasicDbTable_GetElementI(w.balls, 3, ball, 0));
        p->ballData[b].accuracyMod = uint8_t(BasicDbTable_GetElementI(w.balls, 4, ball, 0));
        p->ballData[b].hookMod = uint8_t(BasicDbTable_GetElementI(w.balls, 5, ball, 0));
    }
    return 1;
}

int SetupInGameOptions()
{
    sBasicDbTable* options = FrontEndTable(nullptr, "save", "options");
    if (!options) return 0;
    auto value = [&](int column, int fallback) { return uint8_t(BasicDbTable_GetElementI(options, column, 0, fallback)); };
    gGameOptions.soundMusicVolume = value(1, gGameOptions.soundMusicVolume);
    gGameOptions.soundFXVolume = value(2, gGameOptions.soundFXVolume);
    gGameOptions.soundCommentaryVolume = gGameOptions.soundChatterVolume = value(3, gGameOptions.soundCommentaryVolume);
    gGameOptions.controlMode = value(4, gGameOptions.controlMode);
    return 1;
}
