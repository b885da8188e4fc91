// Filling the game's player records from the front end's databases: a bowler's names, ratings,
// look (the resource ids of body, clothes, hair and balls) and equipment modifiers, a computer
// bowler's abilities by its average, and the in-game options. Every game launcher uses them, and
// the bowler preview uses the look. Slots outside 0..7 and rows outside their tables are refused.
#pragma once

#include <cstdint>

struct sBasicDbTable;

// The columns of the game database's "Bodys" table (the resource groups a body's look comes from)
// and of its item tables ("Pants" ... "BallsR").
enum {
    kBodyFemale = 2, kBodyTexture = 3, kBodyMesh = 4, kBodyItemGroup = 5, kBodyHair = 6, kBodyPantsGroup = 7,
    kBodyShirtGroup = 8, kBodyShoesGroup = 9, kBodyPantsTex = 10, kBodyShirtTex = 11, kBodyShoesTex = 12,
    kBodyItemTex = 13, kBodyAnim = 14, kBodyBallTex = 15, kBodyHairStart = 16, kBodyHairEnd = 17, kBodyIkAnim = 18,
};
enum { kItemMesh = 9, kItemTexD = 10, kItemTexN = 11, kItemTexS = 12, kItemTexDst = 13, kItemLegs = 14, kItemSocks = 15 };
// The hair entry ("Bodys" columns 16 and 17) a hat of "HatsM" or "HatsF" leaves.
constexpr int kItemHair = 14;

// (group << 16) + index when group > 0 and index >= 0, else -1 (nothing to load).
int ToRSID(int group, int index);
// value + adjust, clamped to min..max.
int clampAdj(int min, int value, int max, int adjust);
uint8_t QuickMin(uint8_t a, uint8_t b);
// The controller number (from 1) a lone person gets: 1 + the highest present controller when that
// is 4 or more, else 1 + the lowest; 0 when none is present.
int FindFirstAvailableController();

// firstName from column 1 of row; nickName from column 2 of numberRow (empty when it is < 0);
// lastName "(P<slot+1>)" in the rival's mini-game variant, else empty. 1 when row is in the table.
int WritePlayerNameAndNumber(sBasicDbTable* table, int row, int slot, int numberRow);
int WriteCPUNameAndNumber(sBasicDbTable* table, int row, int slot, int numberRow);
// The same with an empty lastName always: a career opponent.
int WriteNPCName(sBasicDbTable* table, int row, int slot, int numberRow);
// Power, accuracy and hook from "players" row; hook min 0.
int SetPlayerStats(int slot, int row);
// The same raised for quick play (power +15, hook +25), each at most 100.
int SetPlayerStatsQuick(int slot, int row);
// A computer bowler's ratings from the last "NPCAbilities" row at or below its average (row 0
// when none), by sex; its average and spread for the frames it skips.
int SetNPCAbilities(int slot, int female, int average, int spread);
// The bowler's look from "players" (or "NPCs" of the game database with fromNPCs): hand by the
// hand entry handSlot (4, the career's, with careerHand for slot 0), body, clothes, hair under a
// hat and the three balls (the default set for the bowler's sex with defaultBalls). 1 when filled.
int SetupPlayerRSIDs(int slot, int row, int fromNPCs, int handSlot, int careerHand, int defaultBalls);
// The modifiers of the clothes worn and of each ball. Returns 1, also when a table is missing.
int UpdateModifiers(int slot, int row, int fromNPCs, int careerHand);
// Copies the "options" row into the game options: music, effects, voice (commentary and chatter)
// volumes and the control mode. 1 when the table is there.
int SetupInGameOptions();
