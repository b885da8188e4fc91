// The pro shop's items: which category the player stands on, which item a touch or the pad points
// at, and what touching it once (show and try on) or again (buy, wear, take off, choose a ball
// slot) does to the career bowler's states, funds and outfit. A decision that changed them is
// saved at once: it cost the player money or was asked for.
#include "screens/proshop.h"

#include <cstdio>

#include "db/database.h"
#include "screens/frontenddb.h"
#include "screens/saveflow.h"
#include "screens/trophies.h"
#include "screens/unlocks.h"
#include "ui/environment.h"
#include "ui/widgets/button.h"
#include "ui/widgets/dialogbox.h"
#include "ui/widgets/msgbox.h"
#include "ui/widgets/scrollbox.h"
#include "ui/widgets/sticky.h"
#include "ui/widgets/triggers.h"

namespace {

enum { kColFirstWorn = 11, kColBalls = 17, kPickBoxes = 5, kBallSlots = 3 };
enum { kColTitle = 1, kColText = 2, kColPrice = 6 };
enum { kAnswerYes = 2, kAnswerCancelBall = 3 };

// Set when the player's answer bought an item, or changed what is worn or in a ball slot.
int decided = 0;

// One row of the shop: the widgets and tables by the career bowler's gender (male, female) or,
// for gloves and balls, by hand (left, right).
struct Category {
    const char* moveTrigger[2];
    const char* button;
    const char* scrollBox[2];
    const char* table[2];
    int stateColumn, wornColumn, optional, byHand;
};

const Category kCategories[] = {
    {{"s18tMoveH1M", "s18tMoveH1F"}, "s18b1", {"s18sbShirtsM", "s18sbShirtsF"}, {"Shirts", "Shirts"}, 20, 12, 0, 0},
    {{"s18tMoveH2M", "s18tMoveH2F"}, "s18b2", {"s18sbPantsM", "s18sbPantsF"}, {"Pants", "Skirts"}, 19, 11, 0, 0},
    {{"s18tMoveH3", "s18tMoveH3"}, "s18b3", {"s18sbShoes", "s18sbShoes"}, {"Shoes", "Shoes"}, 21, 13, 0, 0},
    {{"s18tMoveH4M", "s18tMoveH4F"}, "s18b4", {"s18sbHatsM", "s18sbHatsF"}, {"HatsM", "HatsF"}, 22, 14, 1, 0},
    {{"s18tMoveH5M", "s18tMoveH5F"}, "s18b5", {"s18sbGlassesM", "s18sbGlassesF"}, {"GlassesM", "GlassesF"}, 23, 15, 1, 0},
    {{"s18tMoveH6", "s18tMoveH6"}, "s18b6", {"s18sbBalls", "s18sbBalls"}, {"BallsL", "BallsR"}, 25, 17, 0, 1},
    {{"s18tMoveH7", "s18tMoveH7"}, "s18b7", {"s18sbGloves", "s18sbGloves"}, {"GlovesL", "GlovesR"}, 24, 16, 1, 1},
};

sBasicUiEnvironment* Environment(sBasicUiWidget* caller)
{
    return caller ? BasicUiWidget_GetEnvironment(caller) : BasicUi_GetEnvironment();
}

// The category whose button "s18tMoveV" has selected; null when none.
const Category* CurrentCategory(sBasicUiEnvironment* env)
{
    sBasicUiWidget* selected = BasicUiWidgetTypeTriggerMove_GetSelected(BasicUi_FindWidget(env, "s18tMoveV"));
    if (!selected) return nullptr;
    for (const Category& c : kCategories)
        if (BasicUi_FindWidget(env, c.button) == selected) return &c;
    return nullptr;
}

// Which of the pair the career bowler uses: 0 male or left-handed, 1 female or right-handed.
int Variant(const Category& c)
{
    if (c.byHand) return GetCareerPlayerHand() ? 0 : 1;
    return GetCareerPlayerGender() ? 1 : 0;
}

// Saves what a decision changed, wearing the outfit the player chose while the file is written;
// what was tried on is put on again afterwards, as the preview shows it.
void SaveDecision(sBasicUiWidget* caller)
{
    int tried[kProShopWornItems];
    for (int i = 0; i < kProShopWornItems; ++i) tried[i] = GetCareerPlayerValue(kColFirstWorn + i);
    UpdateTrophies(caller, 0);
    ProShopRestoreWorn();
    SaveChanges();
    for (int i = 0; i < kProShopWornItems; ++i) SetCareerPlayerValue(kColFirstWorn + i, tried[i]);
}

int CareerBall(int ballSlot)
{
    return BasicDbTable_GetElementIN(FrontEndTable(nullptr, "save", "players"), kColBalls, GetCareerID(), ballSlot, -1);
}

int& Remembered(int wornColumn) { return proShopItemTemp[wornColumn - kColFirstWorn]; }

// The item's position in the scroll box: the pad's selection for slot 0, else row `slot` of the
// window shown. -1 when it cannot be told.
int ItemPosition(sBasicUiWidget* scrollBox, sBasicUiWidget* moveTrigger, int slot)
{
    if (slot > 0) return BasicUiWidgetTypeScrollBox_GetSelectedSlot(scrollBox) + slot - 1;
    return BasicUiWidgetTypeScrollBox_GetIndex(scrollBox, BasicUiWidgetTypeTriggerMove_GetSelected(moveTrigger));
}

// Asks with the dialog; with a hold, the agreeing answer takes that long a hold of the stylus.
int OpenDialog(sBasicUiEnvironment* env, const char* name, int type, float hold = 0.0f)
{
    sBasicUiWidget* dialog = BasicUi_FindWidget(env, name);
    if (dialog) BasicUiWidgetTypeDialogBox_SetAcceptHold(dialog, hold);
    return dialog ? BasicUiWidgetTypeDialogBox_OpenDialog(dialog, type) : -1;
}

void PressPickBox(sBasicUiEnvironment* env, int slot)
{
    if (slot < 1 || slot > kPickBoxes) return;
    char name[16];
    std::snprintf(name, sizeof name, "s18pickBox%d", slot);
    if (sBasicUiWidget* box = BasicUi_FindWidget(env, name)) {
        BasicUiWidgetTypeStickyButton_DoubleTouchGroupClear(box);
        BasicUiWidgetTypeStickyButton_DoubleTouchGroupPress(box, 1);
    }
}

}  // namespace

int HandleProShopItemHView(sBasicUiEnvironment* env, sBasicUiWidget* scrollBox, sBasicUiWidget* moveTrigger,
                           int stateColumn, int wornColumn, int optional, sBasicUiWidget* tableRef, int slot)
{
    const int position = ItemPosition(scrollBox, moveTrigger, slot);
    sBasicUiWidget* button = position >= 0 ? BasicUiWidgetTypeScrollBox_GetNth(scrollBox, position) : nullptr;
    if (!button) return 0;
    const int item = BasicUiWidgetTypeButton_GetLockableIndex(button);

    BasicUiWidgetTypeTriggerMove_SetSelected(moveTrigger, button);
    // With the pad the pick box of the row the selection stands on lights, as a touch on it would.
    const int row = slot > 0 ? slot : position - BasicUiWidgetTypeScrollBox_GetSelectedSlot(scrollBox) + 1;
    PressPickBox(env, row);
    const char state = GetCareerPlayerItemState(stateColumn, item);
    if (sBasicUiWidget* box = BasicUi_FindWidget(env, "s18box2")) {
        BasicUiWidgetTypeMsgBox_SetTitle(box, tableRef, item, kColTitle);
        BasicUiWidgetTypeMsgBox_SetMsg(box, tableRef, item, kColText);
        // A price is shown only for what can still be bought: the bowler's own items cost nothing more.
        BasicUiWidgetTypeMsgBox_SetCurrency(box, state == 'O' ? nullptr : tableRef, item, kColPrice);
    }

    if (state == 'L') return 0;
    if (state == 'N') SetCareerPlayerItemState(stateColumn, item, 'U');
    else if (state != 'U' && state != 'O') return 0;

    ProShopRestoreWorn();
    if (optional && Remembered(wornColumn) < 0) return 1;
    SetCareerPlayerValue(wornColumn, item);
    return 1;
}

int HandleProShopItemHBuy(sBasicUiEnvironment* env, sBasicUiWidget* scrollBox, sBasicUiWidget* moveTrigger,
                          int stateColumn, int wornColumn, int optional, const char* itemTable, int slot)
{
    const int position = ItemPosition(scrollBox, moveTrigger, slot);
    sBasicUiWidget* button = position >= 0 ? BasicUiWidgetTypeScrollBox_GetNth(scrollBox, position) : nullptr;
    if (!button) return 0;
    const int item = BasicUiWidgetTypeButton_GetLockableIndex(button);

    char state = GetCareerPlayerItemState(stateColumn, item);
    if (state == 'L') return 0;
    if (state == 'O') {
        if (wornColumn == kColBalls) {
            const int answer = OpenDialog(env, "s18dialog5", 4);
            if (answer >= 0 && answer < kBallSlots) {
                const int had = answer == 0 ? Remembered(wornColumn) : CareerBall(answer);
                // The first ball is remembered before the previews are refreshed, which show it.
                if (answer == 0) Remembered(wornColumn) = item;
                SetCareerPlayerBall(answer, item);
                decided = had != item;
            }
        } else if (optional && Remembered(wornColumn) == item) {
            if (OpenDialog(env, "s18dialog4", 2) == kAnswerYes) {
                Remembered(wornColumn) = -1;
                SetCareerPlayerValue(wornColumn, -1);
                decided = 1;
            }
        } else if (OpenDialog(env, "s18dialog3", 2) == kAnswerYes) {
            decided = Remembered(wornColumn) != item;
            Remembered(wornColumn) = item;
            SetCareerPlayerValue(wornColumn, item);
        }
        return 1;
    }
    if (state == 'N') {
        SetCareerPlayerItemState(stateColumn, item, 'U');
        state = 'U';
    }
    if (state != 'U') return 0;
    const int price = GetCareerItemValue(itemTable, item);
    const int funds = GetCareerPlayerFunds();
    if (price > funds) {
        OpenDialog(env, "s18dialog2", 1);
        return 0;
    }
    // Paying is the one answer here an accident would cost.
    if (OpenDialog(env, "s18dialog1", 2, kBasicUiCostlyHold) == kAnswerYes) {
        SetCareerPlayerItemState(stateColumn, item, 'O');
        SetCareerPlayerFunds(funds - price);
        // Bought: the item panel shows no price for it any more.
        if (sBasicUiWidget* box = BasicUi_FindWidget(env, "s18box2")) BasicUiWidgetTypeMsgBox_SetCurrency(box, nullptr, item, kColPrice);
        decided = 1;
    }
    return 1;
}

int HandleProShopItemEnter(sBasicUiWidget* caller, int slot)
{
    sBasicUiEnvironment* env = Environment(caller);
    const Category* c = CurrentCategory(env);
    if (!c) {
        if (inProShop) ProShopRestoreWorn();
        return 1;
    }
    const int v = Variant(*c);
    char refName[32];
    std::snprintf(refName, sizeof refName, "game.%s", c->table[v]);
    return HandleProShopItemHView(env, BasicUi_FindWidget(env, c->scrollBox[v]), BasicUi_FindWidget(env, c->moveTrigger[v]),
                                  c->stateColumn, c->wornColumn, c->optional, BasicUi_FindWidget(env, refName), slot);
}

int HandleProShopItemSelect(sBasicUiWidget* caller, int slot)
{
    sBasicUiEnvironment* env = Environment(caller);
    const Category* c = CurrentCategory(env);
    if (!c) return 0;
    const int v = Variant(*c);
    decided = 0;
    const int result = HandleProShopItemHBuy(env, BasicUi_FindWidget(env, c->scrollBox[v]),
                                             BasicUi_FindWidget(env, c->moveTrigger[v]), c->stateColumn, c->wornColumn,
                                             c->optional, c->table[v], slot);
    if (decided) SaveDecision(caller);
    return result;
}

void ProShopRestoreWorn()
{
    for (int i = 0; i < kProShopWornItems; ++i) SetCareerPlayerValue(kColFirstWorn + i, proShopItemTemp[i]);
}
