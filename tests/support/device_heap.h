// A fresh game heap for a test.
#pragma once

#include <cstdint>

// Makes a new host arena with `bytes` of device memory and the device heap over all of it
// (128-byte blocks, `records` chunk records), as the current heap. Returns 1 on success.
int UseFreshDeviceHeap(uint32_t bytes, unsigned records = 0x2000);
// Disposes the device heap and leaves no heap current.
void ReleaseDeviceHeap();
