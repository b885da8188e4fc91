// Music during play and the sounds of the ball hitting the pins. One music stream plays the
// alley's songs one after another from a short shuffled list; the ball's first touch of a pin
// plays a sound and rumbles the controller by which pin it was and how many still stand.
#pragma once

#include "lib/resourceids.h"

// Songs are stream resources kSongBase + song number.
constexpr int kSongBase = kFirstSong;
constexpr int kNumSongs = 2;
// The music started for a negative id.
constexpr int kDefaultMusic = kDefaultSong;

// Shuffles the song list, starts it again from its first position and returns that song number.
int ShuffleSongList();
// Starts music resource rsid (negative: kDefaultMusic) on the music stream, `loops` times (see
// SetStreamLoopCount), unless it plays already. With sound switched off nothing plays and the
// result is 1. 0 when a stream operation fails.
int StartBackgroundMusic(int rsid, int loops);
// The music stream's completion callback: the next song of the list.
int MusicEndCB(void*);
int StopBackgroundMusic();
// Forgets the music last started (the game set-up does this).
void ResetBackgroundMusic();
// The resource id of the music started last, -1 for none.
int BackgroundMusicRSID();

// The sound and the rumble strength of the ball's first touch of pin 1..10, given which pins
// stand (standing[k - 1] for pin k) and the ball's speed along the lane in metres per second.
int PinHitSound(int pin, const int standing[10], float laneSpeed, int* rumble);
// Plays the sound of the ball's first touch of pin 1..10 in a ball. Always 1.
int PlayBallHitPinSound(int pin);
