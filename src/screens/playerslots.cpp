// Player slots and controllers of the set-up screens. The slot buttons of a screen variant are
// named by the variant ("s1b2.v3" is slot 2 of the mini-game set-up) and the move trigger of the
// variant ("s1tMove.v3") says which one is selected. Controller numbers live in columns 7 to 10 of
// every set-up table; each table keeps its own, because in the careers 0 means a team member
// bowled by the computer, which quick play's empty slots must not overwrite.
#include "screens/playerslots.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "game/controls.h"
#include "lib/printing.h"
#include "platform/input.h"
#include "screens/frontenddb.h"
#include "screens/launchers.h"
#include "screens/playerfill.h"
#include "screens/scriptfunctions_play.h"
#include "shell/globals.h"
#include "ui/environment.h"
#include "ui/widgets/button.h"
#include "ui/widgets/dialogbox.h"
#include "ui/widgets/triggers.h"

static int firstControllerAssignment = 1;

static const int kSlots = 4;
static const int kColumnRow = 3;
static const int kColumnController = 7;
static const int kButtonNoController = 4;
static const int kButtonFirstController = 5;
// "quick play setup": the number of bowlers; a button's colour modulation, playing or not.
static const int kColumnCount = 2;
static const int kLit = 127;
static const int kDim = 48;
// The quick-play texts ("ui" "s0Strings"): the format of the question before a custom bowler
// leaves its slot and the row it is composed into.
static const int kUnloadFormatRow = 24;
static const int kUnloadTextRow = 25;
static const char* const kSetupTables[] = {"quick play setup", "mini game setup", "online setup",
                                           "league",           "tournament",      "rival"};

void ResetControllerAssignment() { firstControllerAssignment = 1; }

int GetPlayersMax()
{
    static const int kRivalsIndex[7] = {-1, 0, 4, 8, 12, 15, 19};
    static const int kPlayersMax[7] = {18, 19, 20, 21, 22, 23, 24};
    sBasicDbTable* players = FrontEndTable(nullptr, "save", "players");
    int best = 0;
    for (int row = kFirstCustomBowler; row <= kLastCustomBowler; ++row)
        for (int k = 1; k < 7; ++k)
            if (BasicDbTable_GetElementCN(players, 29, row, kRivalsIndex[k], 'L') == 'W' && k > best) best = k;
    int max = kPlayersMax[best];
    // Only bowlers the table holds can be chosen.
    if (players && max >= players->rows) max = players->rows - 1;
    return max;
}

static sBasicUiEnvironment* Environment(sBasicUiWidget* caller)
{
    return caller ? BasicUiWidget_GetEnvironment(caller) : BasicUi_GetEnvironment();
}

// The set-up table and row of screen variant v (1-4 the quick kinds, 6-10 the careers).
static sBasicDbTable* VariantTable(sBasicUiWidget* caller, int v, int* row)
{
    const char* name = nullptr;
    if (v == 1 || v == 2) name = "quick play setup";
    if (v == 3) name = "mini game setup";
    if (v == 4) name = "online setup";
    if (v == 6) name = "league";
    if (v >= 7 && v <= 9) name = "tournament";
    if (v == 10) name = "rival";
    sBasicDbTable* table = name ? FrontEndTable(caller, "save", name) : nullptr;
    if (!table) return nullptr;
    *row = 0;
    if (v == 1 || v >= 6) *row = CareerSlot(caller);
    // The quick kinds keep one row; a career slot beyond it falls back to that row.
    if (*row < 0 || *row >= table->rows) *row = 0;
    return table;
}

// The slot (0-3) whose button the variant's move trigger has selected; -1 for none.
static int SelectedSlot(sBasicUiWidget* caller, int v)
{
    sBasicUiEnvironment* env = Environment(caller);
    char name[32];
    std::snprintf(name, sizeof name, "s1tMove.v%d", v);
    sBasicUiWidget* selected = BasicUiWidgetTypeTriggerMove_GetSelected(BasicUi_FindWidget(env, name));
    if (!selected) return -1;
    for (int k = 0; k < kSlots; ++k) {
        std::snprintf(name, sizeof name, "s1b%d.v%d", k + 1, v);
        if (BasicUi_FindWidget(env, name) == selected) return k;
    }
    return -1;
}

static int IsCustom(int bowler) { return bowler >= kFirstCustomBowler && bowler <= kLastCustomBowler; }

// Whether a slot of the set-up row other than `slot` holds the bowler: no bowler plays twice.
static int HeldElsewhere(sBasicDbTable* table, int row, int slot, int bowler)
{
    for (int k = 0; k < kSlots; ++k)
        if (k != slot && BasicDbTable_GetElementI(table, kColumnRow + k, row, -1) == bowler) return 1;
    return 0;
}

// The bowlers a slot steps through, in order: the built-in ones, then the player's own bowler
// (the career bowler), so that a custom bowler taken out of a slot can be chosen again. Returns
// their number; *builtIns is that of the built-in ones.
static int Round(sBasicUiWidget* caller, int* bowlers, int size, int* builtIns)
{
    int n = 0;
    for (int b = kFirstBuiltInBowler; b <= GetPlayersMax() && n < size - 1; ++b) bowlers[n++] = b;
    *builtIns = n;
    const int own = CareerSlot(caller);
    if (IsCustom(own)) bowlers[n++] = own;
    return n;
}

int SelectNextPlayerIndex(sBasicUiWidget* caller, int arg)
{
    const int v = arg < 0 ? -arg : arg;
    int row = 0;
    sBasicDbTable* table = VariantTable(caller, v, &row);
    const int slot = table ? SelectedSlot(caller, v) : -1;
    if (slot < 0 || arg == 0) return 1;
    int bowlers[32], builtIns = 0;
    const int n = Round(caller, bowlers, 32, &builtIns);
    if (n < 1 || builtIns < 1) return 1;
    const int now = BasicDbTable_GetElementI(table, kColumnRow + slot, row, kFirstBuiltInBowler);
    const int step = arg > 0 ? 1 : n - 1;
    // A bowler not in the round (another custom bowler) stands where the player's own would:
    // after the last built-in bowler, before the first.
    int p = arg > 0 ? 0 : builtIns - 1;
    for (int i = 0; i < n; ++i)
        if (bowlers[i] == now) p = (i + step) % n;
    // The next bowler no other slot holds; the slot keeps its own when there is none.
    for (int i = 0; i < n && bowlers[p] != now; ++i, p = (p + step) % n) {
        if (HeldElsewhere(table, row, slot, bowlers[p])) continue;
        BasicDbTable_SetElementI(table, kColumnRow + slot, row, bowlers[p]);
        return 1;
    }
    return 1;
}

// Asks before a custom bowler leaves its slot. The step that follows it in the slot's sequence
// moves the slot on to a built-in bowler, so agreeing leaves the row as it is for that step.
int VerifyCustomPlayerUnload(sBasicUiWidget* caller, int arg)
{
    const int v = arg < 0 ? -arg : arg;
    int row = 0;
    sBasicDbTable* table = VariantTable(caller, v, &row);
    sBasicDbTable* players = FrontEndTable(caller, "save", "players");
    sBasicDbTable* strings = FrontEndTable(caller, "ui", "s0Strings");
    sBasicUiWidget* dialog = BasicUi_FindWidget(Environment(caller), "s1dialog0");
    const int slot = table ? SelectedSlot(caller, v) : -1;
    if (!table || !dialog || slot < 0) return 1;
    const int bowler = BasicDbTable_GetElementI(table, kColumnRow + slot, row, 0);
    if (!IsCustom(bowler)) return 1;
    // The question names the bowler: "Take Player 1 out of this slot?"
    if (strings && players) {
        char text[256];
        FormatUiText(BasicDbTable_GetStrElement(strings, kUnloadFormatRow, 1), BasicDbTable_GetStrElement(players, bowler, 1),
                     0, text, int(sizeof text));
        BasicDbTable_GetElementFromStr(strings, kUnloadTextRow, 1, text, int(std::strlen(text)));
    }
    return BasicUiWidgetTypeDialogBox_OpenDialog(dialog, 2) == 2 ? 1 : 0;
}

// Quick play's slots beyond the number of bowlers do not play: their bowler and kind buttons are
// drawn dim and empty, the d-pad passes over them, and neither a touch nor A steps them.
int ShowQuickPlaySlots(sBasicUiWidget* caller, int)
{
    sBasicDbTable* setup = FrontEndTable(caller, "save", "quick play setup");
    if (!setup) return 1;
    sBasicUiEnvironment* env = Environment(caller);
    const int n = BasicDbTable_GetElementI(setup, kColumnCount, 0, 1);
    for (int k = 1; k <= kSlots; ++k) {
        const int plays = k <= n ? 1 : 0;
        char names[2][16];
        std::snprintf(names[0], sizeof names[0], "s1b%d.v1", k);
        std::snprintf(names[1], sizeof names[1], "s1k%d", k);
        for (const char* name : names) {
            sBasicUiWidget* button = BasicUi_FindWidget(env, name);
            if (auto* b = BasicUiWidgetTypeButton_Get(button)) {
                const int shade = plays ? kLit : kDim;
                BasicUiWidgetTypeButton_SetColorModulation(button, shade, shade, shade);
                b->skipable.value = !plays;
                b->hasDbText.value = plays;
            }
            // The button's touch and its A press.
            for (const char* suffix : {".t", ".a"}) {
                const std::string part = std::string(name) + suffix;
                if (sBasicUiWidget* w = BasicUi_FindWidget(env, part.c_str())) w->isActive.value = plays;
            }
        }
    }
    return 1;
}

int CheckForControllerPresence(sBasicUiWidget* caller, int)
{
    BasicUi_FindWidget(Environment(caller), "sFgdialog2");
    return 1;
}

static int Present(int number)
{
    return number >= 1 && number <= kNumControllerStates && controllers[number - 1].controller != nullptr;
}

int CheckPlayerControllers(int* c1, int* c2, int* c3, int* c4, int dontAsk)
{
    int* values[kSlots] = {c1, c2, c3, c4};
    for (int* v : values)
        if (!v) return 0;
    sBasicUiEnvironment* env = BasicUi_GetEnvironment();
    sBasicUiWidget* ask = BasicUi_FindWidget(env, "sFgdialog1");
    sBasicUiWidget* wait = BasicUi_FindWidget(env, "sFgdialog2");
    sBasicDbTable* strings = FrontEndTable(nullptr, "ui", "s19Strings");
    if (!dontAsk && (!ask || !wait || !strings)) return 0;
    if (!FindFirstAvailableController()) return 0;
    int found = 1;
    while (found && !done) {
        found = 0;
        for (int k = 1; k <= kNumControllerStates; ++k) {
            if (Present(k)) continue;
            for (int* v : values) {
                if (*v != k) continue;
                found = 1;
                int answer = 2;
                if (!dontAsk) {
                    char message[256];
                    FormatUiText(BasicDbTable_GetStrElement(strings, 14, 1), nullptr, k, message, int(sizeof message));
                    BasicDbTable_GetElementFromStr(strings, 16, 1, message, int(sizeof message) - 1);
                    answer = BasicUiWidgetTypeDialogBox_OpenDialog(ask, 2);
                }
                if (answer != 2) continue;
                int replacement = FindFirstAvailableController();
                while (!replacement && !done) {
                    if (!wait || BasicUiWidgetTypeDialogBox_OpenDialog(wait, 1) == -1) return 0;
                    replacement = FindFirstAvailableController();
                }
                for (int* w : values)
                    if (*w == k) *w = replacement;
            }
        }
        // A pass that asked and was refused leaves the number as it was; do not ask again forever.
        if (!dontAsk) break;
    }
    return 1;
}

// The controller state that pressed a button last: the first with a new press, else the first
// that is there; -1 when none is.
static int LastPressedController()
{
    for (int i = 0; i < kNumControllerStates; ++i)
        if (controllers[i].controller && (controllers[i].edges & controllers[i].buttons)) return i;
    return GetFirstController();
}

static void ShowController(sBasicUiWidget* button, int index)
{
    if (auto* b = BasicUiWidgetTypeButton_Get(button)) BasicUiWidgetTypeButton_SetDbIndex(button, b->column.value, index);
}

int AssignControllers(sBasicUiWidget* caller, int arg)
{
    sBasicUiEnvironment* env = Environment(caller);
    sBasicDbTable* tables[6];
    for (int t = 0; t < 6; ++t)
        if (!(tables[t] = FrontEndTable(caller, "save", kSetupTables[t]))) return 1;
    int rows[6];
    const int r = CareerSlot(caller);
    for (int t = 0; t < 6; ++t) rows[t] = t < 3 || r < 0 || r >= tables[t]->rows ? 0 : r;
    sBasicUiWidget* buttons[kSlots];
    for (int k = 0; k < kSlots; ++k) {
        char name[16];
        std::snprintf(name, sizeof name, "s19b%d", k + 1);
        buttons[k] = BasicUi_FindWidget(env, name);
    }
    const int slot = arg < 0 ? -arg : arg;
    if (arg < 0 && slot <= kSlots) {
        ShowController(buttons[slot - 1], kButtonNoController);
        for (int t = 0; t < 6; ++t) BasicDbTable_SetElementI(tables[t], slot + 6, rows[t], 0);
    } else if (arg > 0 && slot <= kSlots) {
        const int pressed = LastPressedController();
        if (BasicDbTable_GetElementI(tables[0], slot + 6, 0, 0) > 0 && pressed >= 0) {
            ShowController(buttons[slot - 1], pressed + kButtonFirstController);
            for (int t = 0; t < 6; ++t) BasicDbTable_SetElementI(tables[t], slot + 6, rows[t], pressed + 1);
        }
    } else if (arg == 0) {
        const int dontAsk = firstControllerAssignment || !caller;
        for (int t = 0; t < 6; ++t) {
            int c[kSlots];
            for (int k = 0; k < kSlots; ++k) c[k] = BasicDbTable_GetElementI(tables[t], kColumnController + k, rows[t], 0);
            CheckPlayerControllers(&c[0], &c[1], &c[2], &c[3], dontAsk || t > 0);
            for (int k = 0; k < kSlots; ++k) {
                BasicDbTable_SetElementI(tables[t], kColumnController + k, rows[t], c[k]);
                if (t == 0) ShowController(buttons[k], c[k] + kButtonNoController);
            }
        }
        firstControllerAssignment = 0;
    }
    return 1;
}
