// The pro shop: one category button and one scroll box of items per equipment category. A touch
// on an item tries it on the career bowler (the preview reloads through the bowler preview's
// change check); a second touch buys it with the career funds, wears it, takes it off or puts a
// ball in one of the three ball slots. What was worn on entry comes back on leaving, unless it was
// changed by buying or wearing.
#pragma once

struct sBasicUiEnvironment;
struct sBasicUiWidget;

// The career row's worn items ("players" columns 11 to 16 and the first ball of column 17) as they
// stand outside the shop's trying on.
constexpr int kProShopWornItems = 7;
extern int proShopItemTemp[kProShopWornItems];
// 1 while the shop is open.
extern int inProShop;

// Remembers what the career bowler wears, shows it in the preview with its three balls. 1.
int ProShopEnter(sBasicUiWidget* caller, int value);
// Takes off whatever was only tried on and hides the balls again. 1.
int ProShopLeave(sBasicUiWidget* caller, int value);
// An item of the category chosen with "s18tMoveV" is shown and tried on: slot 0 the item selected
// with the pad, 1 to 5 the item in that row of the scroll box. 0 for a locked item. Without a
// category the outfit worn is restored and 1 returned.
int HandleProShopItemEnter(sBasicUiWidget* caller, int slot);
// The same item is bought, worn, taken off or put in a ball slot after the player's answer, and
// what that changed is saved at once (the trophy counts brought up to date first; the outfit
// saved is the one worn, not what is only tried on). 0 without a category, for a locked item, or
// when the money does not reach.
int HandleProShopItemSelect(sBasicUiWidget* caller, int slot);
// Puts the outfit worn on entry (or since bought and worn) back on the career bowler, taking off
// what is only tried on.
void ProShopRestoreWorn();

// One category's parts: its scroll box, move trigger, "players" state and worn columns, whether
// it may be left empty, and its item table (reference widget "game.<table>" and name).
int HandleProShopItemHView(sBasicUiEnvironment* env, sBasicUiWidget* scrollBox, sBasicUiWidget* moveTrigger,
                           int stateColumn, int wornColumn, int optional, sBasicUiWidget* tableRef, int slot);
int HandleProShopItemHBuy(sBasicUiEnvironment* env, sBasicUiWidget* scrollBox, sBasicUiWidget* moveTrigger,
                          int stateColumn, int wornColumn, int optional, const char* itemTable, int slot);

// Puts ball `item` in ball slot 0..2 of the career bowler and refreshes the ball previews.
void SetCareerPlayerBall(int ballSlot, int item);
// The three ball previews "sPVBall1..3" show the career bowler's balls: slot 0 the ball the shop
// remembers, 1 and 2 the second and third of "players" column 17. 1.
int SetupPlayerBalls(sBasicUiWidget* caller, int value);
// The fifth shirt is drawn dark in both shirt lists while "players" row 11 has it locked, and
// plain otherwise. 1.
int SetTruShirtState(sBasicUiWidget* caller, int value);
