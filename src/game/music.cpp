// The shuffled song list of the alley's music stream, and the pin-hit sounds and rumble chosen from
// the first pin the ball touches.
#include "game/music.h"

#include "game/actors.h"
#include "game/gameloop.h"
#include "game/physics.h"
#include "game/controls.h"
#include "game/records.h"
#include "lib/resourceids.h"
#include "platform/sound.h"
#include "platform/streams.h"
#include "shell/settings.h"

static int songList[kNumSongs] = {0, 1};
static int currSong = 0;
static int backgroundMusicRSID = -1;

// A head-pin hit at this speed down the lane or faster is the loud strike sound.
static const float kFastHeadPinHit = 5.7912f;

enum {
    kPinSoundLight = kSoundPinsLight,
    kPinSoundSide = kSoundPinsSide,
    kPinSoundMedium = kSoundPinsMedium,
    kPinSoundHeavy = kSoundPinsHeavy,
    kPinSoundPocket = kSoundPinsPocket,
    kPinSoundStrikeFast = kSoundStrikeFast,
    kPinSoundStrikeSlow = kSoundStrikeSlow,
};

int ShuffleSongList()
{
    const int other = GetRandomInt(0, kNumSongs - 1);
    const int first = songList[0];
    songList[0] = songList[other];
    songList[other] = first;
    currSong = 0;
    return songList[0];
}

void ResetBackgroundMusic() { backgroundMusicRSID = -1; }
int BackgroundMusicRSID() { return backgroundMusicRSID; }

int StartBackgroundMusic(int rsid, int loops)
{
    if (!sound) return 1;
    if (rsid < 0) rsid = kDefaultMusic;
    DS3_stream_tag* stream = gBackgroundMusicChannel;
    if (rsid != backgroundMusicRSID) StopStream(stream);
    // Music already playing, or about to start, goes on.
    if (StreamIsActive(stream)) return 1;
    backgroundMusicRSID = rsid;
    if (!SoundStreamNextResource(stream, rsid) || !SetStreamLoopCount(stream, unsigned(loops))) return 0;
    if (!gGamePaused && !SetStreamVolume(stream, gGameOptions.soundMusicVolume)) return 0;
    return SetStreamCompletionCallback(stream, MusicEndCB);
}

int MusicEndCB(void*)
{
    currSong = (currSong + 1) % kNumSongs;
    return StartBackgroundMusic(kSongBase + songList[currSong], 1);
}

int StopBackgroundMusic() { return StopStream(gBackgroundMusicChannel); }

int PinHitSound(int pin, const int standing[10], float laneSpeed, int* rumble)
{
    int numStanding = 0;
    int standingBehind = 0;  // standing pins numbered above the one hit
    for (int k = 1; k <= 10; ++k) {
        if (!standing[k - 1]) continue;
        ++numStanding;
        if (k > pin) ++standingBehind;
    }
    int id = kPinSoundLight;
    int strength = 32;
    if (numStanding == 10) {
        if (pin == 1) {
            id = laneSpeed < kFastHeadPinHit ? kPinSoundStrikeSlow : kPinSoundStrikeFast;
            strength = 255;
        } else if (pin == 2 || pin == 3) {
            id = kPinSoundPocket;
            strength = 240;
        } else if (pin == 4 || pin == 6) {
            id = kPinSoundMedium;
            strength = 128;
        } else {
            strength = 64;
        }
    } else if (pin >= 1 && pin <= 3) {
        if (numStanding > 5) {
            id = kPinSoundHeavy;
            strength = 100;
        } else if (numStanding >= 2) {
            id = kPinSoundMedium;
            strength = 80;
        }
    } else if (pin >= 4 && pin <= 6) {
        if (standingBehind > 4) {
            id = kPinSoundHeavy;
            strength = 100;
        } else if (standingBehind >= 1) {
            id = kPinSoundSide;
            strength = 80;
        }
    }
    if (rumble) *rumble = strength;
    return id;
}

int PlayBallHitPinSound(int pin)
{
    int standing[10];
    for (int i = 0; i < kNumPins; ++i) standing[i] = pinActors[i] && pinActors[i]->visible;
    float laneSpeed = 0.0f;
    if (physics && physics->m_ballBody) laneSpeed = physics->m_ballBody->getLinearVelocity().z();
    int rumble = 0;
    const int id = PinHitSound(pin, standing, laneSpeed, &rumble);
    SoundPlayResource(unsigned(id), gGameOptions.soundFXVolume, 1);
    if (gCurrPlayer >= 0 && gCurrPlayer < kMaxPlayers)
        SetControllerRumble(gPlayerInfo[gCurrPlayer].controllerSlot, uint8_t(rumble));
    return 1;
}
