// The bowler preview's loaders: the bowler named by the "player view" table is dressed into the
// menu's 3D character ("player.model") from the "players" row and the game database's item tables,
// and its models and textures are loaded while the menu keeps drawing, so the preview turns on
// during the load.
#include "screens/bowlermodel.h"

#include <initializer_list>

#include "db/database.h"
#include "game/characterload.h"
#include "game/gameloop.h"
#include "platform/utilities.h"
#include "screens/frontenddb.h"
#include "screens/playerfill.h"
#include "screens/proshop.h"
#include "ui/environment.h"
#include "ui/frameupdate.h"
#include "ui/widgets/button.h"
#include "ui/widgets/skeleton3d.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

namespace {

// "Bodys" columns and the item tables' columns.
enum {
    kBodyFemale = 2, kBodyItemGroup = 5, kBodyMesh = 4, kBodyHair = 6, kBodyPantsGroup = 7, kBodyShirtGroup = 8,
    kBodyShoesGroup = 9, kBodyPantsTex = 10, kBodyShirtTex = 11, kBodyShoesTex = 12, kBodyItemTex = 13,
    kBodyAnim = 14, kBodyBallTex = 15, kBodyHairStart = 16, kBodyHairEnd = 17, kBodyIkAnim = 18,
};
enum { kItemMesh = 9, kItemTexD = 10, kItemTexDst = 13, kItemLegs = 14, kItemSocks = 15, kItemHat = 14 };
// "players" columns: the body, the worn items and the balls.
enum { kPlayerBody = 10, kPlayerPants = 11, kPlayerShirt = 12, kPlayerShoes = 13, kPlayerHat = 14,
       kPlayerGlasses = 15, kPlayerGloves = 16, kPlayerBalls = 17 };

sBasicUiEnvironment* Environment(sBasicUiWidget* caller)
{
    return caller ? BasicUiWidget_GetEnvironment(caller) : BasicUi_GetEnvironment();
}

sBasicUiWidgetType3DSkeleton* Skeleton(sBasicUiWidget* caller)
{
    sBasicUiWidget* w = BasicUi_FindWidget(Environment(caller), "player.model");
    return w ? BasicUiWidget_Record<sBasicUiWidgetType3DSkeleton>(w, EBasicUiWidgetType3DSkeleton) : nullptr;
}

sBasicDbTable* Game(const char* name) { return FrontEndTable(nullptr, "game", name); }

int Cell(sBasicDbTable* table, int column, int row, int fallback)
{
    return table && row >= 0 && row < table->rows ? BasicDbTable_GetElementI(table, column, row, fallback) : fallback;
}

// The bowler to show and its hand, from row 0 of "player view"; -1 when there is none.
int ShownBowler(int* hand)
{
    sBasicDbTable* view = FrontEndTable(nullptr, "save", "player view");
    *hand = Cell(view, 2, 0, 0);
    return Cell(view, 1, 0, -1);
}

// A garment: its model member and textures from row `row` of `items` (-1 when none is worn).
void Dress(sBasicUiSkeletonPart* part, sBasicDbTable* items, int row)
{
    const bool worn = items && row >= 0 && row < items->rows;
    part->offset.value = worn ? Cell(items, kItemMesh, row, -1) : -1;
    part->srcTexOffset.value = worn ? Cell(items, kItemTexD, row, -1) : -1;
    part->dstTexOffset.value = worn ? Cell(items, kItemTexDst, row, -1) : -1;
}

}  // namespace

int SetupPlayerModel(sBasicUiWidget* caller, int arg)
{
    sBasicUiWidgetType3DSkeleton* sk = Skeleton(caller);
    if (!sk) return 1;
    SetupPlayerBalls(caller, arg);
    int hand = 0;
    const int r = ShownBowler(&hand);
    sBasicDbTable* players = FrontEndTable(nullptr, "save", "players");
    sBasicDbTable* bodies = Game("Bodys");
    if (!players || !bodies || r < 0 || r >= players->rows) return 1;
    const int b = Cell(players, kPlayerBody, r, 0);
    if (b < 0 || b >= bodies->rows) return 1;
    const bool female = Cell(bodies, kBodyFemale, b, 0) != 0;
    auto body = [&](int column) { return Cell(bodies, column, b, -1); };
    auto worn = [&](int column) { return Cell(players, column, r, -1); };

    sk->hFlip.value = hand ? 1 : 0;
    // The rigs of the bodies live in environments of their own, which these menus do not load.
    sk->rig = nullptr;
    sk->bodyID.value = body(kBodyMesh);
    sk->hairID.value = body(kBodyHair);
    sk->animID.value = body(kBodyAnim);
    sk->ikAnimID.value = body(kBodyIkAnim);
    sk->hairStart.value = BasicDbTable_GetElementIN(bodies, kBodyHairStart, b, 0, 0);
    sk->hairEnd.value = BasicDbTable_GetElementIN(bodies, kBodyHairEnd, b, 0, -1);

    sk->shoes.id.value = body(kBodyShoesGroup);
    sk->shoes.srcTexID.value = sk->shoes.dstTexID.value = body(kBodyShoesTex);
    Dress(&sk->shoes, Game("Shoes"), worn(kPlayerShoes));

    sBasicDbTable* pants = Game(female ? "Skirts" : "Pants");
    sk->pants.id.value = body(kBodyPantsGroup);
    sk->pants.srcTexID.value = sk->pants.dstTexID.value = body(kBodyPantsTex);
    Dress(&sk->pants, pants, worn(kPlayerPants));
    sk->legsOffset.value = Cell(pants, kItemLegs, worn(kPlayerPants), -1);
    sk->socksOffset.value = Cell(pants, kItemSocks, worn(kPlayerPants), -1);

    sk->shirt.id.value = body(kBodyShirtGroup);
    sk->shirt.srcTexID.value = sk->shirt.dstTexID.value = body(kBodyShirtTex);
    Dress(&sk->shirt, Game("Shirts"), worn(kPlayerShirt));

    // Hat, glasses and gloves share the body's item group and item textures.
    sBasicDbTable* hats = Game(female ? "HatsF" : "HatsM");
    for (sBasicUiSkeletonPart* part : {&sk->hat, &sk->glasses, &sk->glove}) {
        part->id.value = body(kBodyItemGroup);
        part->srcTexID.value = part->dstTexID.value = body(kBodyItemTex);
    }
    sk->item.id.value = body(kBodyItemGroup);
    Dress(&sk->hat, hats, worn(kPlayerHat));
    Dress(&sk->glasses, Game(female ? "GlassesF" : "GlassesM"), worn(kPlayerGlasses));
    Dress(&sk->glove, Game(hand ? "GlovesL" : "GlovesR"), worn(kPlayerGloves));
    const int hat = worn(kPlayerHat);
    if (hat < 0 || !hats || hat >= hats->rows) {
        sk->hatStart.value = 0;
        sk->hatEnd.value = -1;
    } else {
        int h = Cell(hats, kItemHat, hat, 0);
        h = h < 0 ? 0 : (h > 2 ? 2 : h);
        sk->hatStart.value = BasicDbTable_GetElementIN(bodies, kBodyHairStart, b, h, 0);
        sk->hatEnd.value = BasicDbTable_GetElementIN(bodies, kBodyHairEnd, b, h, -1);
    }

    // The ball in the hand: the first of the bowler's balls.
    const int ball = BasicDbTable_GetElementIN(players, kPlayerBalls, r, 0, -1);
    sBasicDbTable* ballsL = Game("BallsL");
    sk->item.srcTexID.value = sk->item.dstTexID.value = body(kBodyBallTex);
    sk->itemOffsetL.value = Cell(ballsL, kItemMesh, ball, -1);
    sk->item.offset.value = Cell(Game("BallsR"), kItemMesh, ball, -1);
    sk->item.srcTexOffset.value = Cell(ballsL, kItemTexD, ball, -1);
    sk->item.dstTexOffset.value = Cell(ballsL, kItemTexDst, ball, -1);
    return 1;
}

int LoadPlayerModelCB()
{
    sBasicUiEnvironment* env = BasicUi_GetEnvironment();
    BasicUi_UpdateEnvironmentFull(env);
    BasicUi_RenderEnvironment(env);
    return 1;
}

int LoadPlayerModel(sBasicUiWidget* caller, int)
{
    if (!Skeleton(caller)) return 1;
    int hand = 0;
    const int r = ShownBowler(&hand);
    DisposeCharacters();
    sBasicUiEnvironment* env = Environment(caller);
    if (!SetupPlayerRSIDs(0, r, 0, 0, 0, 0)) return 1;
    gNumPlayers = 1;
    BasicUiEnvironment_SetInputMode(env, BasicUiInputMode_None);
    LoadingBarSetCallback(LoadPlayerModelCB);
    LoadingBarStart();
    // The outfit, and the animations made for the body (the character plays the body's own).
    if (LoadCharacterResources()) LoadCharacterAnimations(1);
    LoadingBarStop();
    LoadingBarSetCallback(nullptr);
    BasicUiEnvironment_SetInputMode(env, BasicUiInputMode_Normal);
    return 1;
}
