// The pro shop's entry and exit, and the career bowler's ball previews. On entry the outfit worn is
// remembered, so that items only tried on in the shop are taken off again on leaving; the preview
// turns with the shop's own move trigger and shows the three balls beside the bowler.
#include "screens/proshop.h"

#include <cstdio>
#include <initializer_list>

#include "db/database.h"
#include "screens/frontenddb.h"
#include "screens/unlocks.h"
#include "ui/environment.h"
#include "ui/widgets/button.h"

int proShopItemTemp[kProShopWornItems] = {-1, -1, -1, -1, -1, -1, -1};
int inProShop = 0;

namespace {

enum { kColFirstWorn = 11, kColBalls = 17, kBallSlots = 3, kShirtStates = 20, kSpecialShirt = 4, kSpecialRow = 11 };
enum { kColBallStates = 25 };

sBasicUiEnvironment* Environment(sBasicUiWidget* caller)
{
    return caller ? BasicUiWidget_GetEnvironment(caller) : BasicUi_GetEnvironment();
}

void Show(sBasicUiEnvironment* env, const char* name, int active, int render)
{
    sBasicUiWidget* w = BasicUi_FindWidget(env, name);
    if (!w) return;
    if (active >= 0) w->isActive.value = active;
    if (render >= 0) w->isRender.value = render;
}

void ShowBowlerInPreview(sBasicUiWidget* caller)
{
    sBasicDbTable* view = FrontEndTable(caller, "save", "player view");
    if (view) BasicDbTable_SetElementI(view, 1, 0, GetCareerID());
}

const char* const kBallPreviews[kBallSlots] = {"sPVBall1", "sPVBall2", "sPVBall3"};

// The balls the career bowler carries, and the free ones every bowler starts with, are its own: a
// save from before they were marked so still offers them for sale, or keeps one locked.
void OwnCarriedAndFreeBalls(sBasicDbTable* players, int r)
{
    const char* table = GetCareerPlayerHand() ? "BallsL" : "BallsR";
    sBasicDbTable* balls = FrontEndTable(nullptr, "game", table);
    for (int b = 0; b < kBallSlots; ++b) {
        const int ball = BasicDbTable_GetElementIN(players, kColBalls, r, b, -1);
        if (balls && ball >= 0 && ball < balls->rows) SetCareerPlayerItemState(kColBallStates, ball, 'O');
    }
    for (int ball = 0; balls && ball < balls->rows; ++ball) {
        const char state = GetCareerPlayerItemState(kColBallStates, ball);
        if ((state == 'U' || state == 'N' || state == 'L') && GetCareerItemValue(table, ball) == 0)
            SetCareerPlayerItemState(kColBallStates, ball, 'O');
    }
}

}  // namespace

int ProShopEnter(sBasicUiWidget* caller, int)
{
    sBasicDbTable* players = FrontEndTable(caller, "save", "players");
    const int r = GetCareerID();
    for (int i = 0; i < kProShopWornItems; ++i)
        proShopItemTemp[i] = BasicDbTable_GetElementIN(players, kColFirstWorn + i, r, 0, -1);
    OwnCarriedAndFreeBalls(players, r);
    ShowBowlerInPreview(caller);
    sBasicUiEnvironment* env = Environment(caller);
    Show(env, "sPVtMoveP1", 0, -1);
    Show(env, "sPVtMoveP2", 1, -1);
    for (const char* name : kBallPreviews) Show(env, name, -1, 1);
    SetupPlayerBalls(caller, 0);
    // The special shirt may have been earned since the save was loaded: show it as it stands now.
    SetTruShirtState(caller, 0);
    inProShop = 1;
    return 1;
}

int ProShopLeave(sBasicUiWidget* caller, int)
{
    // Only what the shop remembered on entry is written back: leaving a shop that was never
    // entered (a sequence run twice) must not dress the bowler in another one's outfit.
    if (inProShop) {
        sBasicDbTable* players = FrontEndTable(caller, "save", "players");
        const int r = GetCareerID();
        for (int i = 0; i < kProShopWornItems; ++i)
            BasicDbTable_SetElementIN(players, kColFirstWorn + i, r, 0, proShopItemTemp[i]);
    }
    ShowBowlerInPreview(caller);
    sBasicUiEnvironment* env = Environment(caller);
    Show(env, "sPVtMoveP1", 1, -1);
    Show(env, "sPVtMoveP2", 0, -1);
    for (const char* name : kBallPreviews) Show(env, name, -1, 0);
    inProShop = 0;
    return 1;
}

void SetCareerPlayerBall(int ballSlot, int item)
{
    if (ballSlot < 0 || ballSlot >= kBallSlots) return;
    BasicDbTable_SetElementIN(FrontEndTable(nullptr, "save", "players"), kColBalls, GetCareerID(), ballSlot, item);
    SetupPlayerBalls(nullptr, 0);
}

int SetupPlayerBalls(sBasicUiWidget* caller, int)
{
    sBasicUiEnvironment* env = Environment(caller);
    sBasicDbTable* players = FrontEndTable(caller, "save", "players");
    const int r = GetCareerID();
    for (int slot = 0; slot < kBallSlots; ++slot) {
        const int ball = slot == 0 ? proShopItemTemp[kColBalls - kColFirstWorn]
                                   : BasicDbTable_GetElementIN(players, kColBalls, r, slot, -1);
        if (ball < 0 || ball > 99) continue;
        char name[32];
        std::snprintf(name, sizeof name, "PREVIEW.BALL%i%i", ball / 10, ball % 10);
        const sBasicUiConstantDef* image = BasicUi_FindConstantDef(env, name);
        sBasicUiWidget* button = BasicUi_FindWidget(env, kBallPreviews[slot]);
        if (image && button) BasicUiWidgetTypeButton_SetImage(button, image->iValue);
    }
    return 1;
}

int SetTruShirtState(sBasicUiWidget* caller, int)
{
    sBasicDbTable* players = FrontEndTable(caller, "save", "players");
    const int level = BasicDbTable_GetElementCN(players, kShirtStates, kSpecialRow, kSpecialShirt, 'L') == 'L' ? 0 : 127;
    sBasicUiEnvironment* env = Environment(caller);
    for (const char* name : {"s18sbShirtsMb05", "s18sbShirtsFb05"})
        if (sBasicUiWidget* button = BasicUi_FindWidget(env, name))
            BasicUiWidgetTypeButton_SetColorModulation(button, level, level, level);
    return 1;
}
