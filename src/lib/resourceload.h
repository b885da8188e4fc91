// Loading resources into memory and initialising them by type.
#pragma once

void* ReadResource(int id);
int LoadResourceRange1x1(int first, int last);
int DisposeResource(int id);
int DisposeResourceRange(int first, int last);
