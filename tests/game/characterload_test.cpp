// The bowlers' outfits from the build's game data: the character archive opened for a game and
// closed after it, every appearance field of the quick game's bowlers loading, garment copies of
// their own per player, texture swaps and their refusals.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "game/characterdraw.h"
#include "game/characterload.h"
#include "game/characters.h"
#include "game/gameloop.h"
#include "game/records.h"
#include "host/errorlog.h"
#include "lib/memory.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "platform/bitmap.h"
#include "platform/model.h"
#include "screens/quicklaunch.h"
#include "shell/globals.h"
#include "shell/settings.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

class CharacterOutfits : public ::testing::TestWithParam<const char*> {
protected:
    int savedTabGroup = 0;

    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(32 << 20), 1);
        done = 0;
        savedTabGroup = gTabGroupId;
        ASSERT_EQ(OpenBuildGameData(GetParam()), 1);
        HostClearErrorLog();
    }
    void TearDown() override
    {
        DisposeCharacters();
        CloseBuildGameData();
        ReleaseDeviceHeap();
        gTabGroupId = savedTabGroup;
        gNumPlayers = 1;
    }
    // The quick game's bowlers, dressed as its launcher dresses them.
    void Launch(int players) { ASSERT_EQ(QuickLaunchGame("quick", players, 0), 1); }

    static int Loaded(int id, int type)
    {
        return id > 0 && ResourceLoaded(id) && (type == 0 || ResourceType(id) == type) ? 1 : 0;
    }
};

TEST_P(CharacterOutfits, LoadingAndDisposingLeavesTheHeapAsItWas)
{
    Launch(4);
    const unsigned before = deviceHeap.memoryUsed;
    ASSERT_EQ(LoadCharacterResources(), 1) << HostErrorLog();
    EXPECT_NE(headerSpecials, nullptr);
    EXPECT_GT(deviceHeap.memoryUsed, before);
    for (int i = 0; i < 4; ++i) {
        const PlayerDataTag& p = gPlayerInfo[i].playerData;
        SCOPED_TRACE(i);
        EXPECT_TRUE(Loaded(p.bodyMeshRSID, kResourceTypeGroup));
        EXPECT_TRUE(Loaded(p.hairMeshRSID, kResourceTypeGroup));
        for (int mesh : {p.shirtMeshRSID, p.pantsMeshRSID, p.shoesMeshRSID, p.socksMeshRSID})
            EXPECT_TRUE(Loaded(mesh, kResourceTypeModel)) << mesh;
        for (int tex : {p.bodyRSIDTextureG, p.shirtRSIDDstTextureD, p.pantsRSIDDstTextureD, p.shoesRSIDDstTextureD,
                        p.ballRSIDDstTextureD[0], p.ballRSIDDstTextureD[1], p.ballRSIDDstTextureD[2]})
            EXPECT_TRUE(Loaded(tex, kResourceTypeBitmap)) << tex;
    }
    EXPECT_EQ(HostErrorLog(), "");

    ASSERT_EQ(DisposeCharacters(), 1);
    EXPECT_EQ(headerSpecials, nullptr);
    EXPECT_EQ(deviceHeap.memoryUsed, before);
    EXPECT_FALSE(ResourceLoaded(gPlayerInfo[0].playerData.bodyMeshRSID));
    // A second game opens the archive again.
    ASSERT_EQ(LoadCharacterResources(), 1);
    ASSERT_EQ(DisposeCharacters(), 1);
    EXPECT_EQ(deviceHeap.memoryUsed, before);
}

// The archive cannot be opened twice: the second open fails, and everything the first one loaded
// is released with it.
TEST_P(CharacterOutfits, AnArchiveThatCannotBeOpenedReleasesEverything)
{
    Launch(2);
    const unsigned before = deviceHeap.memoryUsed;
    ASSERT_EQ(LoadCharacterResources(), 1);
    EXPECT_EQ(LoadCharacterResources(), 0);
    EXPECT_NE(HostErrorLog().find("SpecialCharacters.rez"), std::string::npos);
    EXPECT_EQ(headerSpecials, nullptr);
    EXPECT_EQ(deviceHeap.memoryUsed, before);
    EXPECT_FALSE(ResourceLoaded(gPlayerInfo[0].playerData.shirtMeshRSID));
}

TEST_P(CharacterOutfits, EveryQuickGameBowlerIsDressedDifferently)
{
    Launch(kMaxPlayers);
    ASSERT_EQ(LoadCharacterResources(), 1) << HostErrorLog();
    EXPECT_EQ(HostErrorLog(), "");
    std::set<std::tuple<int, int, int, int, int>> looks;
    for (int i = 0; i < kMaxPlayers; ++i) {
        const TITLE_PlayerInfoStruct& info = gPlayerInfo[i];
        const PlayerDataTag& p = info.playerData;
        SCOPED_TRACE(i);
        looks.insert({p.shirtRSIDDstTextureD, p.pantsRSIDDstTextureD, p.hairMeshRSID, p.hatMeshRSID, p.bodyMeshRSID});
        // Each garment's model takes its source texture, which the swap replaces.
        const std::pair<int, int> swaps[] = {{p.shirtMeshRSID, p.shirtRSIDSrcTextureD}, {p.pantsMeshRSID, p.pantsRSIDSrcTextureD},
                                             {p.shoesMeshRSID, p.shoesRSIDSrcTextureD}, {p.hatMeshRSID, p.hatRSIDSrcTextureD},
                                             {p.glassesMeshRSID, p.glassesRSIDSrcTextureD}, {p.glovesMeshRSID, p.glovesRSIDSrcTextureD}};
        for (const auto& s : swaps) {
            if (s.first < 1) continue;
            auto* model = static_cast<DS3_model_tag*>(ResourceHandle(s.first));
            ASSERT_NE(model, nullptr) << s.first;
            HLSL_material m{};
            ASSERT_EQ(ModelMaterial(model, 0, &m), 1);
            EXPECT_EQ(m.materialRSID, uint32_t(s.second));
        }
        // The balls' textures are those of the ball model, one per ball index.
        for (int b = 0; b < kBallsPerPlayer; ++b)
            EXPECT_EQ(p.ballRSIDDstTextureD[b], (901 << 16) | (info.ballData[b].ballIndex + 2));
        EXPECT_GE(p.hairStart, 1) << "member 0 of a hair group is its texture";
    }
    EXPECT_EQ(looks.size(), size_t(kMaxPlayers));
}

TEST_P(CharacterOutfits, CopiesDoNotShareMaterials)
{
    Launch(2);
    ASSERT_EQ(LoadCharacterResources(), 1);
    const PlayerDataTag& p = gPlayerInfo[0].playerData;
    const int shirt = p.shirtMeshRSID, from = p.shirtRSIDSrcTextureD, to = p.shirtRSIDDstTextureD;
    ASSERT_EQ(gPlayerInfo[1].playerData.shirtRSIDSrcTextureD, from);
    ASSERT_EQ(CopyModelAndMaterials(shirt, 0, 3), 1);
    ASSERT_EQ(CopyModelAndMaterials(shirt, 1, 3), 1);
    ASSERT_EQ(SwapMaterials(0, 3, from, to), 1);

    auto* source = static_cast<DS3_model_tag*>(ResourceHandle(shirt));
    HLSL_material original{};
    ASSERT_EQ(ModelMaterial(source, 0, &original), 1);
    DS3_model_tag* mine = CharacterSlotModel(0, 3);
    DS3_model_tag* theirs = CharacterSlotModel(1, 3);
    ASSERT_NE(mine, nullptr);
    ASSERT_NE(theirs, nullptr);
    // The geometry is shared, the materials are not.
    EXPECT_EQ(mine->stripList.get(), source->stripList.get());
    EXPECT_NE(mine->materialList.get(), source->materialList.get());
    EXPECT_NE(mine->materialList.get(), theirs->materialList.get());
    EXPECT_EQ(mine->materialList.get()[0].materialBitmap.get(), ResourceHandle(to));
    EXPECT_EQ(theirs->materialList.get()[0].materialBitmap.get(), ResourceHandle(from));
    EXPECT_EQ(original.materialBitmap.get(), ResourceHandle(from));
    // The id stays the source's, so the next frame's swap finds it again.
    EXPECT_EQ(mine->materialList.get()[0].materialRSID, uint32_t(from));
}

TEST_P(CharacterOutfits, CopiesAreRefusedOutsideTheirLimits)
{
    Launch(1);
    const int shirt = gPlayerInfo[0].playerData.shirtMeshRSID;
    EXPECT_EQ(CopyModelAndMaterials(shirt, 0, 0), 0) << "no slots before the characters are loaded";
    ASSERT_EQ(LoadCharacterResources(), 1);
    EXPECT_EQ(CopyModelAndMaterials(shirt, 0, 0), 1);
    EXPECT_EQ(CopyModelAndMaterials(0, 0, 0), 0);
    EXPECT_EQ(CopyModelAndMaterials(shirt, kMaxPlayers, 0), 0);
    EXPECT_EQ(CopyModelAndMaterials(shirt, -1, 0), 0);
    EXPECT_EQ(CopyModelAndMaterials(shirt, 0, kCharacterSlots), 0);
    EXPECT_EQ(CopyModelAndMaterials(gPlayerInfo[0].playerData.shirtRSIDSrcTextureD, 0, 0), 0) << "a texture is no model";
    EXPECT_EQ(CopyModelAndMaterials((9801 << 16) | 5, 0, 0), 0) << "the cap of a bowler without one is not loaded";
}

TEST_P(CharacterOutfits, MissingTexturesRefuseTheSwapWithTheirMessage)
{
    Launch(1);
    ASSERT_EQ(LoadCharacterResources(), 1);
    const PlayerDataTag& p = gPlayerInfo[0].playerData;
    const int from = p.shirtRSIDSrcTextureD, to = p.shirtRSIDDstTextureD;
    const int unloaded = (9800 << 16) | 12;  // a shirt colour nobody of this game wears
    ASSERT_FALSE(ResourceLoaded(unloaded));
    ASSERT_EQ(CopyModelAndMaterials(p.shirtMeshRSID, 0, 0), 1);

    EXPECT_EQ(SwapMaterials(0, 0, 0, to), 0);
    EXPECT_EQ(SwapMaterials(0, 0, from, -1), 0);
    EXPECT_EQ(SwapMaterials(0, 0, from, unloaded), 0);
    EXPECT_NE(HostErrorLog().find("Missing Texture 9800 12"), std::string::npos) << HostErrorLog();
    HostClearErrorLog();
    EXPECT_EQ(SwapMaterials(0, 0, unloaded, to), 0);
    EXPECT_NE(HostErrorLog().find("Missing Texture 9800 12"), std::string::npos);

    // A material whose own texture is gone.
    DS3_model_tag* copy = CharacterSlotModel(0, 0);
    copy->materialList.get()[0].materialRSID = uint32_t(unloaded);
    HostClearErrorLog();
    EXPECT_EQ(SwapMaterials(0, 0, from, to), 0);
    EXPECT_NE(HostErrorLog().find("Missing Diffuse Texture 9800 12"), std::string::npos) << HostErrorLog();
    copy->materialList.get()[0].materialRSID = uint32_t(from);
    copy->materialList.get()[0].normalMapRSID = uint32_t(unloaded);
    HostClearErrorLog();
    EXPECT_EQ(SwapMaterials(0, 0, from, to), 0);
    EXPECT_NE(HostErrorLog().find("Missing Normal Texture 9800 12"), std::string::npos) << HostErrorLog();
}

// The id forms a player record may use: a member of a group, a plain resource, a whole group.
TEST_P(CharacterOutfits, ResourcesByTheirIdsLoadAndGoAgain)
{
    const unsigned before = deviceHeap.memoryUsed;
    const int member = (901 << 16) | 7;
    EXPECT_EQ(LoadResourceFn(0), 1);
    EXPECT_EQ(LoadResourceFn(-3), 1);
    ASSERT_EQ(LoadResourceFn(member), 1);
    EXPECT_TRUE(ResourceLoaded(member));
    ASSERT_EQ(LoadResourceFn(911), 1);
    EXPECT_TRUE(ResourceLoaded((911 << 16) | 2));
    EXPECT_EQ(LoadResourceFn(911), 1) << "a group already loaded";
    ASSERT_EQ(LoadResourceFn(1303), 1);
    EXPECT_EQ(DisposeResourceFn(member), 1);
    EXPECT_EQ(DisposeResourceFn(911), 1);
    EXPECT_EQ(DisposeResourceFn(1303), 1);
    EXPECT_EQ(DisposeResourceFn(0), 1);
    EXPECT_EQ(deviceHeap.memoryUsed, before);
    EXPECT_EQ(LoadResourceFn((901 << 16) | 999), 0);
    EXPECT_NE(HostErrorLog().find("LoadResourceFn: could not load resource rsid:901 offset:999"), std::string::npos);
    // The group stays open for its members until one of them is released.
    EXPECT_EQ(DisposeResourceFn((901 << 16) | 0), 1);
    EXPECT_EQ(deviceHeap.memoryUsed, before);
    done = 1;
    EXPECT_EQ(LoadResourceFn(911), 0) << "nothing is loaded while the program quits";
    done = 0;
}

// Both forms of the game data carry the character archive beside them.
INSTANTIATE_TEST_SUITE_P(GameData, CharacterOutfits, ::testing::Values("rom", "rom-split"));

}  // namespace
