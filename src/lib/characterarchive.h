// The layout of the character archive (Resource/SpecialCharacters.rez), which the game data
// builder (tools/mkrom) writes and the game reads the bowlers' outfits from: its group ids and the
// members of each group. Both sides include this header, so that each number is written once.
#pragma once

// The archive holds the ids from here to the end of the resource table.
constexpr int kCharacterArchiveFirst = 9800;
constexpr int kGarmentTextures = 9800;    // group: the garments' textures, below
constexpr int kSharedGarments = 9801;     // group: the garments every body shares, below
constexpr int kBodyGarmentsFirst = 9810;  // + the body mesh's index in the animation table
constexpr int kHairGroupsFirst = 9830;    // + the hair colour

// Members of the texture group: each garment's source texture, with its colours after it.
enum {
    kTexBodyPalette = 0,  // skin, and white socks
    kTexShirt = 4,        // 5-12 shirt colours
    kTexPants = 13,       // 14-19
    kTexShoes = 20,       // 21-24
    kTexHat = 25,         // 26-29
    kTexGlasses = 30,     // 31-32
    kTexGloves = 33,      // 34-36
    kNumGarmentTextures = 37,
};
// Members of the shared garment group and of each body's group.
enum { kLongPants, kShorts, kBareLegs, kSocks, kShoes, kCap, kGlasses };
enum { kShortSleeves, kLongSleeves, kGloves };
