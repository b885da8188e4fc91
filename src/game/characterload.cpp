// The bowlers' resources: the character archive with every player's outfit (garments, their
// texture swaps, hair, body and balls), the bowlers' shadow and the animations they play.
#include "game/characterload.h"

#include <cstring>

#include "game/animation.h"
#include "game/characterdraw.h"
#include "game/characters.h"
#include "game/gameloop.h"
#include "game/records.h"
#include "lib/memory.h"
#include "lib/printing.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "platform/model.h"
#include "shell/globals.h"

const char* const kCharacterArchive = "rom:/Resource/SpecialCharacters.rez";
resourceFileHeader_tag* headerSpecials = nullptr;
DS3_model_tag* playerShadowModel = nullptr;

// The garment slots (game/characterdraw.h) live in game memory, since a copy's material list is a
// 32-bit pointer of the model record.

int LoadResourceFn(int id)
{
    if (id < 1) return 1;
    if (id > 0xFFFF) {
        const int group = id >> 16;
        if (!OpenResourceGroup(group) || done)
            return PrintError("characters: LoadResourceFn: could not open resource group:%i", group);
        if (!ReadResource(id))
            return PrintError("characters: LoadResourceFn: could not load resource rsid:%i offset:%i", group, id & 0xFFFF);
        return 1;
    }
    if (ResourceType(id) != kResourceTypeGroup) {
        if (!ReadResource(id)) return PrintError("characters: LoadResourceFn: could not load resource rsid:%i", id);
        return 1;
    }
    if (done) return 0;
    if (ResourceLoaded(id)) return 1;
    if (!LoadResourceGroup(id)) return PrintError("characters: LoadResourceFn: could not load resource group:%i", id);
    return 1;
}

int DisposeResourceFn(int id)
{
    if (id < 1) return 1;
    if (id > 0xFFFF) {
        if (!CloseResourceGroup(id >> 16)) return 0;
        return ResourceLoaded(id) ? DisposeResource(id) : 1;
    }
    if (ResourceType(id) != kResourceTypeGroup) return DisposeResource(id);
    if (ResourceLoaded(id)) return UnloadResourceGroup(id);
    return 1;
}

// A player's outfit in the order it loads: the textures first (a model finds its textures when it
// is loaded), then the models.
static const int kOutfitIds = 1 + 6 * 4 + kBallsPerPlayer + 10 + 3 + 2;

static int OutfitIds(const PlayerDataTag& p, int* ids)
{
    int n = 0;
    ids[n++] = p.bodyRSIDTextureG;
    const int swaps[6][4] = {
        {p.pantsRSIDSrcTextureD, p.pantsRSIDSrcTextureN, p.pantsRSIDSrcTextureS, p.pantsRSIDDstTextureD},
        {p.shirtRSIDSrcTextureD, p.shirtRSIDSrcTextureN, p.shirtRSIDSrcTextureS, p.shirtRSIDDstTextureD},
        {p.shoesRSIDSrcTextureD, p.shoesRSIDSrcTextureN, p.shoesRSIDSrcTextureS, p.shoesRSIDDstTextureD},
        {p.hatRSIDSrcTextureD, p.hatRSIDSrcTextureN, p.hatRSIDSrcTextureS, p.hatRSIDDstTextureD},
        {p.glassesRSIDSrcTextureD, p.glassesRSIDSrcTextureN, p.glassesRSIDSrcTextureS, p.glassesRSIDDstTextureD},
        {p.glovesRSIDSrcTextureD, p.glovesRSIDSrcTextureN, p.glovesRSIDSrcTextureS, p.glovesRSIDDstTextureD},
    };
    for (const auto& swap : swaps)
        for (int id : swap) ids[n++] = id;
    for (int id : p.ballRSIDDstTextureD) ids[n++] = id;
    const int meshes[] = {p.bodyMeshRSID,  p.hairMeshRSID, p.shoesMeshRSID, p.shirtMeshRSID,   p.pantsMeshRSID,
                          p.legsMeshRSID,  p.socksMeshRSID, p.hatMeshRSID,  p.glassesMeshRSID, p.glovesMeshRSID};
    for (int id : meshes) ids[n++] = id;
    ids[n++] = p.ballRSIDSrcTextureD;
    ids[n++] = p.ballRSIDSrcTextureN;
    ids[n++] = p.ballRSIDSrcTextureS;
    ids[n++] = p.ballMeshRSID_L;
    ids[n++] = p.ballMeshRSID_R;
    return n;
}

// What was loaded for each player, kept so that the release frees exactly that, whatever has
// become of the player records by then.
static int loadedOutfits[kMaxPlayers][kOutfitIds];

int LoadCharacterResources4Character(int player)
{
    if (player < 0 || player >= kMaxPlayers) return PrintError("LoadCharacterResources4Character: no player %d", player);
    int* ids = loadedOutfits[player];
    // A player loaded before and not released yet is released first, so nothing is loaded twice.
    if (!DisposeCharacterResources4Character(player)) return 0;
    OutfitIds(gPlayerInfo[player].playerData, ids);
    for (int k = 0; k < kOutfitIds; ++k) {
        if (!LoadResourceFn(ids[k])) {
            // What was not attempted is not released; the failed one may have opened its group.
            for (int j = k + 1; j < kOutfitIds; ++j) ids[j] = 0;
            return 0;
        }
    }
    return 1;
}

int DisposeCharacterResources4Character(int player)
{
    if (player < 0 || player >= kMaxPlayers) return PrintError("DisposeCharacterResources4Character: no player %d", player);
    int ok = 1;
    for (int& id : loadedOutfits[player]) {
        if (!DisposeResourceFn(id)) ok = 0;
        id = 0;
    }
    return ok;
}

static void CloseCharacterArchive(int* ok)
{
    if (!headerSpecials) return;
    if (!CloseResourceFile(headerSpecials)) *ok = PrintError("characters: the character archive could not be closed");
    headerSpecials = nullptr;
}

int LoadCharacterResources()
{
    resourceFileHeader_tag* archive = OpenResourceFile(kCharacterArchive);
    if (!archive) {
        // Also when it is open already: what the earlier open loaded goes with it.
        PrintError("LoadCharacterResources: cannot open %s", kCharacterArchive);
        DisposeCharacters();
        return 0;
    }
    headerSpecials = archive;
    if (!AllocateCharacterSlots()) {
        DisposeCharacters();
        return 0;
    }
    for (int i = 0; i < gNumPlayers && i < kMaxPlayers; ++i) {
        // Every outfit comes whole with the game data: one that cannot be read is damaged data,
        // and a bowler is never shown with only part of it. The fault met on the way names the
        // archive and why.
        if (!LoadCharacterResources4Character(i))
            return done ? 0 : PrintError("characters: the outfit of player %d cannot be loaded", i + 1);
    }
    return 1;
}

int DisposeCharacters()
{
    int ok = 1;
    for (int i = 0; i < kMaxPlayers; ++i)
        if (!DisposeCharacterResources4Character(i)) ok = 0;
    CloseCharacterArchive(&ok);
    if (!FreeCharacterSlots()) ok = 0;
    return ok;
}

int InitCharacters(int)
{
    playerShadowModel = static_cast<DS3_model_tag*>(ReadResource(kCharacterShadowModel));
    if (!playerShadowModel) return PrintError("InitCharacters: the bowlers' shadow %d cannot be read", kCharacterShadowModel);
    return 1;
}

// Each player's bowler plays the throw and its own set, in the versions of its body mesh.
static const int kAnimationsPerBowler = (kAnimThrowLast - kAnimThrowFirst + 1) + (kAnimCharacterLast - kAnimCharacterFirst + 1);
static int loadedAnimations[kMaxPlayers][kAnimationsPerBowler];

int LoadCharacterAnimations(int count)
{
    if (!DisposeCharacterAnimations()) return 0;
    for (int i = 0; i < count && i < kMaxPlayers; ++i) {
        const int body = gPlayerInfo[i].playerData.bodyMeshRSID;
        int* ids = loadedAnimations[i];
        int n = 0;
        for (int anim = kAnimThrowFirst; anim <= kAnimThrowLast; ++anim) ids[n++] = RemapAnimation(body, anim);
        for (int anim = kAnimCharacterFirst; anim <= kAnimCharacterLast; ++anim) ids[n++] = RemapAnimation(body, anim);
        for (int k = 0; k < n; ++k) {
            if (!ReadResource(ids[k])) {
                const int missing = ids[k];
                for (int j = k; j < n; ++j) ids[j] = 0;
                return PrintError("characters: the animation %d of player %d cannot be read", missing, i);
            }
        }
    }
    return 1;
}

int DisposeCharacterAnimations()
{
    int ok = 1;
    for (auto& ids : loadedAnimations) {
        for (int& id : ids) {
            if (id > 0 && !DisposeResource(id)) ok = 0;
            id = 0;
        }
    }
    if (playerShadowModel) {
        if (!DisposeResource(kCharacterShadowModel)) ok = 0;
        playerShadowModel = nullptr;
    }
    return ok;
}

void ForgetCharacters()
{
    headerSpecials = nullptr;
    playerShadowModel = nullptr;
    std::memset(loadedOutfits, 0, sizeof loadedOutfits);
    std::memset(loadedAnimations, 0, sizeof loadedAnimations);
    ForgetCharacterSlots();
}
