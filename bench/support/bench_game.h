// Set-up and tear-down shared by the benchmarks that play whole games on the build's game data.
#pragma once

#include <cstdint>

// The program options of a bench: the defaults (headless when asked) with a save folder of the
// bench's own, made empty under the temporary directory and removed at exit, so that no bench
// reads or writes the player's saves and every save it makes can be written. A close signal ends
// a bench at once. 0, with a message naming the bench, when the folder cannot be made.
int StartBenchOptions(const char* bench, char* program, int headless);
// Removes folder and all it holds when the bench exits: a scratch folder of the bench's own.
void BenchRemoveAtExit(const char* folder);
// The time each benchmark of a bench runs for at least, in seconds: the given one, or the value
// of BENCHMARK_MIN_TIME when the environment sets it (the variable behind the library's own
// --benchmark_min_time, which a benchmark's own minimum would override): CI runs every benchmark
// briefly that way.
double BenchMinTime(double seconds);
// 1 when BENCHMARK_MIN_TIME asks for less than a tenth of a second: a run that only shows each
// benchmark works (as CI's), where a benchmark that times a fixed stretch of play shortens it.
int BenchBrief();
// The iterations of a benchmark that times its iterations itself (manual time): n, or a hundredth
// of n (at least one) in a brief run. The library ends any other benchmark within a few times its
// minimum time of wall time, but one that times itself only once the time it reports fills that
// minimum: one that times a slice of each iteration (a UI frame, not the GPU's drawing of it)
// would run for minutes. A fixed count bounds the run; each benchmark picks one that gives a
// steady figure in a run of well under a minute.
long BenchIterations(long n);
// The host, a game heap of deviceBytes in the device arena, the build's game data and the
// renderer (with room for maxQuads 2D quads), headless when asked; 0, with a message naming the
// bench, when something cannot be had. EndBenchRenderer gives it all back.
int StartBenchRenderer(const char* bench, char* program, int headless, uint32_t deviceBytes, uint32_t maxQuads);
void EndBenchRenderer();
// Readies the program as start-up does for a game: the default options (headless when asked),
// a 64 MB game heap in the device arena, the build's game data, the renderer, the physics
// allocator, trig tables, settings, options and inputs. 0, with a message naming the bench, when
// something cannot be had.
int StartBenchGame(const char* bench, char* program, int headless);
// Ends a game that GameLoopSetup started: the physics world, the alley's collision, the game and
// the loading screen.
void EndBenchGame();
// Starts streaming and the sound services as start-up does (on game time when headless), for a
// bench that plays games with their sound; 0, with a message, when they cannot start.
int StartBenchSound(const char* bench);
void EndBenchSound();
// User and system time of every thread of the process so far, in seconds: steadier than the
// clock on a busy machine, and it counts the GL driver's worker threads too.
double ProcessCpuSeconds();
