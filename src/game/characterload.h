// Loading the bowler characters: the character archive, which is open from the game's set-up to
// its tear-down and holds the garments and their textures, every player's outfit from the player
// record, the bowlers' animations and their shadow model.
#pragma once

struct DS3_model_tag;
struct resourceFileHeader_tag;

extern const char* const kCharacterArchive;

// The character archive while it is open, and the bowlers' shadow model once loaded.
extern resourceFileHeader_tag* headerSpecials;
extern DS3_model_tag* playerShadowModel;

// Loads the bowlers' shadow model. 0 when it cannot be read.
int InitCharacters(int unused);
// Opens the character archive and loads every player's outfit; 0 when the archive cannot be
// opened (everything is released again), an outfit cannot be loaded (what was loaded stays, for
// DisposeCharacters) or the program is quitting.
int LoadCharacterResources();
// Releases every player's outfit and closes the archive; 0 when a release failed.
int DisposeCharacters();
// Forgets the archive, the outfits, the animations, the shadow model and the garment slots without
// releasing them: for a run whose game heap (and the resources in it) has gone.
void ForgetCharacters();
// One player's outfit, in the record's field order, stopping at the first failure; and its release.
int LoadCharacterResources4Character(int player);
int DisposeCharacterResources4Character(int player);
// The animations the bowlers of players 0..count-1 play (the throw and their own set, in the
// versions made for their body meshes); and their release with the shadow model, at tear-down.
int LoadCharacterAnimations(int count);
int DisposeCharacterAnimations();

// Loads a resource a player record names: (group << 16) | index opens the group and reads that
// member; a smaller id reads the resource, or loads it whole when it is a group. Below 1: none.
// 0, with a message, when it cannot be loaded.
int LoadResourceFn(int id);
// Frees what LoadResourceFn(id) loaded; 1 for an id below 1 or nothing loaded.
int DisposeResourceFn(int id);
