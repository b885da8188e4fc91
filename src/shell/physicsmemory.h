// The physics library's allocator hooks: every allocation of the physics world comes from the
// game's memory manager.
#pragma once

void* BulletMemAlloc(unsigned int size);
void* BulletMemAllocAligned(unsigned int size, int alignment);
void BulletMemFree(void* p);
// Installs the three hooks in the physics library.
void InstallPhysicsAllocator();
