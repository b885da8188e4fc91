// The contiguous image of a database: the header record, the definition records, the table
// records, the column records, the row blocks and a string area, back to back in one block. It is
// the save file byte for byte. Its pointer fields are 32-bit arena pointers that are valid only
// where the image was made; BasicDb_PatchPointers makes a copy at another address usable.
#pragma once

#include "db/database.h"

// Byte length of the image of *db alone (not the databases chained behind it); 0 when *db is null
// or the image would not fit in an int.
int BasicDb_Size(sBasicDb** db);

// Packs *source into one new block, stored in *copy. 0 when an argument is null or memory is short.
int BasicDb_CreateContiguousCopy(sBasicDb** source, sBasicDb** copy);

// Checks, with a walk bounded by the block, every count, index, stride, type, string cell and
// name of the image at `image` (any address; pointer fields are not looked at). Returns 1 when the
// walk ends exactly at image + size; otherwise prints what is wrong and returns 0.
int BasicDb_CheckImage(const void* image, int size);

// Rewrites every pointer field of the image at *db (a block in the arena) for where it now lies.
// Returns 1 when the image passes BasicDb_CheckImage with this size; otherwise writes nothing.
int BasicDb_PatchPointers(sBasicDb** db, int size);

// Replaces the contents of the contiguous database *db by the image at `image` (say, a save file
// read into a scratch buffer). The image must pass the check and be as long as *db's own image;
// otherwise the message says why and *db is left as it was.
int BasicDb_LoadImage(sBasicDb** db, const void* image, int size);
