// Loading resources into memory and freeing them: one resource, a group, or a range of ids, as one
// block or one block per resource, unpacking what is stored compressed and initialising each
// resource by its type. A loaded resource's data is kept in its record's resourceHandle.
#pragma once

#include <cstdint>

#include "lib/resources.h"

void* ReadResource(int id);
void* GetResource(int id);
int LoadResourceRange(int first, int last);
int LoadResourceRange1x1(int first, int last);
int LoadResourceGroup(int id);
int OpenResourceGroup(int id);
int CloseResourceGroup(int id);
int UnloadResourceGroup(int id);
int DisposeResource(int id);
int DisposeResourceRange(int first, int last);
// Sets up a resource just loaded, by its type; length is the size of its data in memory.
int InitializeResourceData(uint8_t* data, short type, int index, int32_t length);
// The set-up of a resource type owned by a module above this library (the game's collision
// models): the module's function is registered at start-up (RegisterGameModules). A type that
// needs one and has none is refused like an unknown type. 0 when the table is full.
typedef int (*ResourceTypeInitializer)(uint8_t* data);
int RegisterResourceInitializer(short type, ResourceTypeInitializer init);
int InitializeResourceGroup(resourceHeader* group, uint8_t* block);
int DecompressResourceGroup(resourceHeader* group, uint8_t* stored, uint8_t* block);
