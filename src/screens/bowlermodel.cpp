// The bowler preview's character: the 3D skeleton widget "player.model" dressed as the bowler of
// "player view" row 0, and the loading of that bowler's resources while the menu keeps drawing.
// The look follows the player records of a game (screens/playerfill.cpp), so that the preview
// shows what the lane will: gloves come from the body's own garment group, and no bowler carries a
// ball mesh of its own (the ball in the hand is the game's ball actor). The body's animation is
// read here too, since outside a game no bowler animation is resident; the preview gives back what
// it loaded when the menu closes.
#include "screens/bowlerpreview.h"

#include "db/database.h"
#include "game/characterload.h"
#include "game/gameloop.h"
#include "lib/printing.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "lib/screenapi.h"
#include "platform/utilities.h"
#include "screens/frontenddb.h"
#include "screens/playerfill.h"
#include "screens/proshop.h"
#include "ui/environment.h"
#include "ui/frameupdate.h"
#include "ui/widgets/skeleton3d.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

namespace {

enum { kViewBowler = 1, kViewHand = 2 };
// "players" columns: the body row and the garments worn (-1 none).
enum { kColBody = 10, kColPants = 11, kColShirt, kColShoes, kColHat, kColGlasses, kColGloves };
constexpr int kHairEntries = 3;  // "Bodys" columns 16 and 17 hold one entry per hat kind

// Whether the preview has loaded an outfit, and the animation it read itself (-1 none).
int outfitLoaded = 0;
int previewAnimation = -1;

sBasicUiEnvironment* Environment(sBasicUiWidget* caller)
{
    return caller ? BasicUiWidget_GetEnvironment(caller) : BasicUi_GetEnvironment();
}

sBasicUiWidgetType3DSkeleton* Character(sBasicUiWidget* model)
{
    return BasicUiWidget_Record<sBasicUiWidgetType3DSkeleton>(model, EBasicUiWidgetType3DSkeleton);
}

// "player.model" of the environment when it is a character; null otherwise.
sBasicUiWidget* PreviewModel(sBasicUiEnvironment* env)
{
    sBasicUiWidget* w = BasicUi_FindWidget(env, "player.model");
    return Character(w) ? w : nullptr;
}

// The bowler to show ("players" row), its hand and its "Bodys" row; 0 with a message when the
// bowler or its body is not in its table.
int ShownBowler(sBasicUiWidget* caller, int* bowler, int* hand, int* body)
{
    sBasicDbTable* view = FrontEndTable(caller, "save", "player view");
    sBasicDbTable* players = FrontEndTable(caller, "save", "players");
    sBasicDbTable* bodies = FrontEndTable(caller, "game", "Bodys");
    if (!view || !players || !bodies) return PrintError("preview: the \"player view\", \"players\" or \"Bodys\" table is missing");
    *bowler = BasicDbTable_GetElementI(view, kViewBowler, 0, -1);
    *hand = BasicDbTable_GetElementI(view, kViewHand, 0, 0);
    if (*bowler < 0 || *bowler >= players->rows) return PrintError("preview: no bowler in row %d", *bowler);
    *body = BasicDbTable_GetElementI(players, kColBody, *bowler, -1);
    if (*body < 0 || *body >= bodies->rows) return PrintError("preview: bowler %d has no body %d", *bowler, *body);
    return 1;
}

// A garment: its mesh (item column 9) in `group` and its texture swap (item columns 10 and 13) in
// `textures`; a garment not worn has every id -1.
void Dress(sBasicUiSkeletonPart* part, int group, int textures, sBasicDbTable* items, int row)
{
    auto item = [&](int column) { return row < 0 ? -1 : BasicDbTable_GetElementI(items, column, row, -1); };
    const int worn = row >= 0;
    part->id.value = worn ? group : -1;
    part->offset.value = item(kItemMesh);
    part->srcTexID.value = part->dstTexID.value = worn ? textures : -1;
    part->srcTexOffset.value = item(kItemTexD);
    part->dstTexOffset.value = item(kItemTexDst);
}

// The tables a bowler's garments come from, by the body's sex and the hand shown.
struct Wardrobe {
    sBasicDbTable *pants, *shirts, *shoes, *hats, *glasses, *gloves;
};

int OpenWardrobe(sBasicUiWidget* caller, int female, int left, Wardrobe* w)
{
    auto table = [caller](const char* name) { return FrontEndTable(caller, "game", name); };
    w->pants = table(female ? "Skirts" : "Pants");
    w->shirts = table("Shirts");
    w->shoes = table("Shoes");
    w->hats = table(female ? "HatsF" : "HatsM");
    w->glasses = table(female ? "GlassesF" : "GlassesM");
    w->gloves = table(left ? "GlovesL" : "GlovesR");
    if (w->pants && w->shirts && w->shoes && w->hats && w->glasses && w->gloves) return 1;
    return PrintError("preview: an item table of the game database is missing");
}

void DressCharacter(sBasicUiWidgetType3DSkeleton* c, sBasicDbTable* players, int bowler, sBasicDbTable* bodies,
                    int body, const Wardrobe& w)
{
    auto look = [&](int column) { return BasicDbTable_GetElementI(bodies, column, body, -1); };
    auto worn = [&](int column) { return BasicDbTable_GetElementI(players, column, bowler, -1); };
    c->bodyID.value = look(kBodyMesh);
    c->hairID.value = look(kBodyHair);
    c->animID.value = look(kBodyAnim);
    c->ikAnimID.value = look(kBodyIkAnim);
    c->hairStart.value = BasicDbTable_GetElementIN(bodies, kBodyHairStart, body, 0, 0);
    c->hairEnd.value = BasicDbTable_GetElementIN(bodies, kBodyHairEnd, body, 0, -1);

    const int pants = worn(kColPants);
    Dress(&c->shoes, look(kBodyShoesGroup), look(kBodyShoesTex), w.shoes, worn(kColShoes));
    Dress(&c->pants, look(kBodyPantsGroup), look(kBodyPantsTex), w.pants, pants);
    c->legsOffset.value = pants < 0 ? -1 : BasicDbTable_GetElementI(w.pants, kItemLegs, pants, -1);
    c->socksOffset.value = pants < 0 ? -1 : BasicDbTable_GetElementI(w.pants, kItemSocks, pants, -1);
    Dress(&c->shirt, look(kBodyShirtGroup), look(kBodyShirtTex), w.shirts, worn(kColShirt));
    const int hat = worn(kColHat);
    Dress(&c->hat, look(kBodyItemGroup), look(kBodyItemTex), w.hats, hat);
    Dress(&c->glasses, look(kBodyItemGroup), look(kBodyItemTex), w.glasses, worn(kColGlasses));
    Dress(&c->glove, look(kBodyShirtGroup), look(kBodyItemTex), w.gloves, worn(kColGloves));
    Dress(&c->item, -1, -1, nullptr, -1);
    c->itemOffsetL.value = -1;

    // Under a hat the hair is the hat's entry of the body's hair ranges; without one, none shows.
    c->hatStart.value = 0;
    c->hatEnd.value = -1;
    if (hat >= 0) {
        int entry = BasicDbTable_GetElementI(w.hats, kItemHair, hat, 0);
        entry = entry < 0 ? 0 : (entry >= kHairEntries ? kHairEntries - 1 : entry);
        c->hatStart.value = BasicDbTable_GetElementIN(bodies, kBodyHairStart, body, entry, 0);
        c->hatEnd.value = BasicDbTable_GetElementIN(bodies, kBodyHairEnd, body, entry, -1);
    }
    c->rig = nullptr;  // each body is posed by its own animation
    c->refresh.value = 1;
}

// Reads the body's animation unless it is resident; gives back the one read for an earlier
// bowler. 0 with a message when it cannot be read.
int LoadAnimation(int id)
{
    if (previewAnimation > 0 && previewAnimation != id && ResourceLoaded(previewAnimation))
        DisposeResource(previewAnimation);
    previewAnimation = -1;
    if (id < 1 || ResourceLoaded(id)) return 1;
    if (!ReadResource(id)) return PrintError("preview: the animation %d cannot be read", id);
    previewAnimation = id;
    return 1;
}

}  // namespace

int SetupPlayerModel(sBasicUiWidget* caller, int value)
{
    sBasicUiWidget* model = PreviewModel(Environment(caller));
    if (!model) return 1;
    SetupPlayerBalls(caller, value);
    int bowler, hand, body;
    if (!ShownBowler(caller, &bowler, &hand, &body)) return 0;
    sBasicDbTable* bodies = FrontEndTable(caller, "game", "Bodys");
    Wardrobe w;
    if (!OpenWardrobe(caller, BasicDbTable_GetElementI(bodies, kBodyFemale, body, 0) != 0, hand, &w)) return 0;
    sBasicUiWidgetType3DSkeleton* c = Character(model);
    c->hFlip.value = hand != 0;
    DressCharacter(c, FrontEndTable(caller, "save", "players"), bowler, bodies, body, w);
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
    sBasicUiEnvironment* env = Environment(caller);
    sBasicUiWidget* model = PreviewModel(env);
    if (!model) return 1;
    int bowler, hand, body;
    if (!ShownBowler(caller, &bowler, &hand, &body)) return 0;
    const long faultsBefore = HostErrorsReported();
    // The bowler's resources are released first: the character must not pose or draw them again
    // before it has loaded the new ones, and it is left out of the frames drawn during the load.
    Character(model)->refresh.value = 1;
    const int active = model->isActive.value, render = model->isRender.value;
    model->isActive.value = model->isRender.value = 0;
    DisposeCharacters();
    int ok = SetupPlayerRSIDs(0, bowler, 0, 0, 0, 0);
    gNumPlayers = 1;
    BasicUiEnvironment_SetInputMode(env, BasicUiInputMode_None);
    LoadingBarSetCallback(LoadPlayerModelCB);
    LoadingBarStart();
    if (ok) ok = LoadCharacterResources();
    outfitLoaded = 1;
    if (ok) ok = LoadAnimation(BasicDbTable_GetElementI(FrontEndTable(caller, "game", "Bodys"), kBodyAnim, body, -1));
    LoadingBarStop();
    LoadingBarSetCallback(nullptr);
    BasicUiEnvironment_SetInputMode(env, BasicUiInputMode_Normal);
    model->isActive.value = active;
    model->isRender.value = render;
    // The bowler comes whole with the game data: menus that went on without it would show a
    // placeholder, and the game would fail the player later. The menus end as a screen that
    // failed, naming the first fault (the archive and why).
    if (!ok && !done) {
        PrintError("preview: the bowler cannot be loaded (%s); the game cannot go on",
                   HostErrorReported(faultsBefore).c_str());
        ScreenSetResult(kScreenResultHandlerFailed);
    }
    return ok;
}

void DisposePlayerModel()
{
    if (outfitLoaded) DisposeCharacters();
    outfitLoaded = 0;
    if (previewAnimation > 0 && ResourceLoaded(previewAnimation)) DisposeResource(previewAnimation);
    previewAnimation = -1;
}
