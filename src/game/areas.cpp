// The alley of the game. Changing alley swaps its collision environment and starts its music;
// the environment model, its layers, lights and objects come with the drawing of the scene.
#include "game/areas.h"

#include "game/collision.h"
#include "game/controls.h"
#include "game/music.h"
#include "lib/printing.h"
#include "platform/sound.h"
#include "platform/streams.h"

int areaNum = 0;
int oldAreaNum = 0;
int gChangeStage = 0;
int gChangeStageTransition = 0;
int nextArea = 0;

static int loadedArea = -1;  // the alley whose collision environment is loaded, -1 for none

// Every alley plays the same songs: the song number is counted from this resource id.
static const int kAreaMusicBase = 9018;
static const int musicRSIDOffset[kNumAreas] = {2, 2, 2, 2, 2, 2};

int AreaLoaded() { return loadedArea >= 0; }

int DisposeArea()
{
    if (loadedArea < 0) return 1;
    const int area = loadedArea;
    loadedArea = -1;
    if (!DisposeCollisionEnvironment(area)) return PrintError("alley %d stays loaded", area);
    return 1;
}

int ChangeArea(int area)
{
    if (area < 0 || area >= kNumAreas) return PrintError("there is no alley %d", area);
    if (!DisposeArea()) return 0;

    areaNum = area;
    SuspendAllUserControls(0);
    const int song = ShuffleSongList() + kAreaMusicBase + musicRSIDOffset[area];
    if (!CreateCollisionEnvironment(area)) return PrintError("alley %d cannot be loaded", area);
    loadedArea = area;
    // Without sound services (a game run by a test) the alley is silent.
    if (soundInitialized) {
        if (!gBackgroundMusicChannel && !CreateStream(1, &gBackgroundMusicChannel))
            return PrintError("alley %d: no music stream", area);
        if (!StartBackgroundMusic(song, 1)) return PrintError("alley %d: the music cannot start", area);
    }
    oldAreaNum = area;
    return 1;
}
