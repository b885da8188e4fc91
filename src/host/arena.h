// The host arena: one block of memory standing in for the console's device memory and its two
// video-memory banks. Everything addressed by a 32-bit pointer field lives inside it.
#pragma once

#include <cstdint>

// Offset of the device memory inside the arena; the bytes below it are never handed out,
// so that offset 0 can mean null.
constexpr uint32_t kArenaReservedBytes = 4096;
// Size of each video-memory bank, as on the console.
constexpr uint32_t kVramBankSize = 3u * 1024u * 1024u;

extern uint8_t* gArenaBase;
extern uint32_t gArenaSize;

// Reserves the arena with room for deviceMemorySize bytes of device memory and the two VRAM
// banks. Returns 1 on success, 0 when the memory cannot be had (a second call disposes first).
int HostArenaInit(uint32_t deviceMemorySize);
void HostArenaDispose();

uint8_t* HostDeviceMemoryAddress();
uint32_t HostDeviceMemorySize();
uint8_t* HostVramAddress(int bank);  // bank 0 = A, 1 = B

// Converts between arena addresses and 32-bit offsets. A null pointer is offset 0; a pointer
// outside the arena is a programming error and aborts.
uint32_t ArenaOffset(const void* p);
void* ArenaAddress(uint32_t offset);
// 1 when [p, p + size) lies inside the arena.
int ArenaContains(const void* p, uint32_t size);
