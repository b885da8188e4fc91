// Player slots and controllers of the set-up screens. The slot buttons of a screen variant are
// named by the variant ("s1b2.v3" is slot 2 of the mini-game set-up) and the move trigger of the
// variant ("s1tMove.v3") says which one is selected. Controller numbers live in columns 7 to 10 of
// every set-up table; each table keeps its own, because in the careers 0 means a team member
// bowled by the computer, which quick play's empty slots must not overwrite. The controller page
// shows and changes those of the game that opened it.
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
// The controller page's line under its panel ("ui" "s19Strings"): what X does, or why X on the
// career bowler did nothing.
static const int kXHintRow = 17;
static const int kXCareerBowlerRow = 18;
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

// The set-up the controller page shows and changes: quick play's (variant 1) or the career team's
// of variant 6 to 10, and how many bowlers that game seats. Quick play's page also sets the
// controllers of the other quick kinds, which have no page of their own.
static int pageVariant = 1;
static int pageSeats = kSlots;

void ResetControllerAssignment()
{
    firstControllerAssignment = 1;
    pageVariant = 1;
    pageSeats = kSlots;
}

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

// The bowler preview shows the bowler of the slot variant v's move trigger has selected, in that
// slot's hand; with no slot selected it keeps what it shows.
static void ShowSelectedSlotInPreview(sBasicUiWidget* caller, int v)
{
    int row = 0;
    sBasicDbTable* table = VariantTable(caller, v, &row);
    sBasicDbTable* view = FrontEndTable(caller, "save", "player view");
    sBasicDbTable* players = FrontEndTable(caller, "save", "players");
    const int slot = table ? SelectedSlot(caller, v) : -1;
    if (!view || !players || slot < 0) return;
    const int bowler = BasicDbTable_GetElementI(table, kColumnRow + slot, row, -1);
    if (bowler < 0 || bowler >= players->rows) return;
    BasicDbTable_SetElementI(view, 1, 0, bowler);
    BasicDbTable_SetElementI(view, 2, 0, BasicDbTable_GetElementIN(players, 6, bowler, slot, 0) ? 1 : 0);
}

// Quick play's slots beyond the number of bowlers do not play: their bowler and kind buttons are
// drawn dim and empty, the d-pad passes over them, and neither a touch nor A steps them. The
// preview follows the selected slot.
int ShowQuickPlaySlots(sBasicUiWidget* caller, int)
{
    ShowSelectedSlotInPreview(caller, 1);
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

static int IsCareerVariant(int v) { return v >= 6 && v <= 10; }

static void ShowXLine(sBasicUiWidget* caller, int row)
{
    sBasicUiWidget* line = BasicUi_FindWidget(Environment(caller), "s19Upper.l3");
    if (auto* b = BasicUiWidgetTypeButton_Get(line)) BasicUiWidgetTypeButton_SetDbIndex(line, b->column.value, row);
}

// The tables the page writes (and their rows); returns their number.
static int PageTables(sBasicUiWidget* caller, sBasicDbTable** tables, int* rows)
{
    if (IsCareerVariant(pageVariant)) {
        tables[0] = VariantTable(caller, pageVariant, &rows[0]);
        return tables[0] ? 1 : 0;
    }
    int n = 0;
    for (int t = 0; t < 3; ++t)
        if ((tables[n] = FrontEndTable(caller, "save", kSetupTables[t]))) rows[n++] = 0;
    return n;
}

// The team size of the career event of variant v: the league's, the tournament's or the rival's
// that the career bowler's record names.
static int TeamSize(sBasicUiWidget* caller, int v)
{
    int r = 0;
    sBasicDbTable* record = VariantTable(caller, v, &r);
    const int e = BasicDbTable_GetElementI(record, 1, r, -1);
    if (v == 6) return BasicDbTable_GetElementI(FrontEndTable(caller, "game", "Leagues"), 4, e, 1);
    if (v == 10) return BasicDbTable_GetElementI(FrontEndTable(caller, "game", "Rivals"), 1, e, 1);
    return BasicDbTable_GetElementI(FrontEndTable(caller, "game", "Tournaments"), 4, e, 1);
}

static void ReadControllers(sBasicDbTable* table, int row, int* c)
{
    for (int k = 0; k < kSlots; ++k) c[k] = BasicDbTable_GetElementI(table, kColumnController + k, row, 0);
}

static void WriteControllers(sBasicDbTable* table, int row, const int* c)
{
    for (int k = 0; k < kSlots; ++k) BasicDbTable_SetElementI(table, kColumnController + k, row, c[k]);
}

// Shows the page's bowlers, each with its controller; the rows of bowlers the game does not seat
// are hidden and passed over by the pad.
static void ShowPage(sBasicUiWidget* caller, sBasicDbTable* table, int row)
{
    sBasicUiEnvironment* env = Environment(caller);
    for (int k = 0; k < kSlots; ++k) {
        const int seated = k < pageSeats ? 1 : 0;
        char name[16];
        std::snprintf(name, sizeof name, "s19b%d", k + 1);
        sBasicUiWidget* button = BasicUi_FindWidget(env, name);
        ShowController(button, BasicDbTable_GetElementI(table, kColumnController + k, row, 0) + kButtonNoController);
        if (auto* b = BasicUiWidgetTypeButton_Get(button)) b->skipable.value = !seated;
        for (const char* part : {"s19l%d", "s19b%d"}) {
            std::snprintf(name, sizeof name, part, k + 1);
            if (sBasicUiWidget* w = BasicUi_FindWidget(env, name)) w->isRender.value = seated;
        }
        for (const char* suffix : {".t", ".a", ".x", ".e"}) {
            const std::string trigger = "s19b" + std::to_string(k + 1) + suffix;
            if (sBasicUiWidget* w = BasicUi_FindWidget(env, trigger.c_str())) w->isActive.value = seated;
        }
    }
    ShowXLine(caller, kXHintRow);
    sBasicUiWidget* nav = BasicUi_FindWidget(env, "s19.nav");
    if (auto* b = BasicUiWidgetTypeButton_Get(BasicUiWidgetTypeTriggerMove_GetSelected(nav)))
        if (b->skipable.value) BasicUiWidgetTypeTriggerMove_SetSelected(nav, BasicUi_FindWidget(env, "s19b1"));
}

// Opens the page on the set-up of variant v: its controllers made valid (asking, after the first
// time since start-up, before a slot moves to another controller), the career bowler on a
// controller, and every table the page writes given the same.
static int OpenPage(sBasicUiWidget* caller, int v)
{
    pageVariant = v;
    int row = 0;
    sBasicDbTable* table = VariantTable(caller, v, &row);
    if (!table) return 1;
    const int seats = IsCareerVariant(v) ? TeamSize(caller, v) : BasicDbTable_GetElementI(table, kColumnCount, row, 1);
    pageSeats = seats < 1 ? 1 : (seats > kSlots ? kSlots : seats);
    int c[kSlots];
    ReadControllers(table, row, c);
    CheckPlayerControllers(&c[0], &c[1], &c[2], &c[3], firstControllerAssignment);
    firstControllerAssignment = 0;
    // The career bowler always bowls for itself.
    const int first = FindFirstAvailableController();
    if (IsCareerVariant(v) && c[0] <= 0 && first) c[0] = first;
    sBasicDbTable* tables[3];
    int rows[3];
    const int n = PageTables(caller, tables, rows);
    for (int t = 0; t < n; ++t) WriteControllers(tables[t], rows[t], c);
    ShowPage(caller, table, row);
    return 1;
}

// Launchers (no caller): every set-up table's controllers are made valid without asking; each
// table keeps its own, since 0 in a career team means a member the computer bowls.
static void CheckEveryTable()
{
    for (int t = 0; t < 6; ++t) {
        sBasicDbTable* table = FrontEndTable(nullptr, "save", kSetupTables[t]);
        if (!table) continue;
        const int r = CareerSlot(nullptr);
        const int row = t < 3 || r < 0 || r >= table->rows ? 0 : r;
        int c[kSlots];
        ReadControllers(table, row, c);
        CheckPlayerControllers(&c[0], &c[1], &c[2], &c[3], 1);
        WriteControllers(table, row, c);
    }
    firstControllerAssignment = 0;
}

int AssignControllers(sBasicUiWidget* caller, int arg)
{
    if (arg == 0) {
        if (!caller) CheckEveryTable();
        else OpenPage(caller, 1);
        return 1;
    }
    const int slot = arg < 0 ? -arg : arg;
    if (slot > pageSeats) return 1;
    sBasicDbTable* tables[3];
    int rows[3];
    const int n = PageTables(caller, tables, rows);
    if (n < 1) return 1;
    const int career = IsCareerVariant(pageVariant);
    int value = 0;
    if (arg < 0) {
        // X gives a bowler to the computer, but never the career bowler: the page says so.
        if (career && slot == 1) {
            ShowXLine(caller, kXCareerBowlerRow);
            return 1;
        }
    } else {
        // In quick play A only moves a person to another controller (the slot's kind makes it a
        // person); a career team member pressed becomes the person on that controller.
        const int pressed = LastPressedController();
        if (pressed < 0 || (!career && BasicDbTable_GetElementI(tables[0], slot + 6, rows[0], 0) <= 0)) return 1;
        value = pressed + 1;
    }
    for (int t = 0; t < n; ++t) BasicDbTable_SetElementI(tables[t], slot + 6, rows[t], value);
    ShowXLine(caller, kXHintRow);
    char name[16];
    std::snprintf(name, sizeof name, "s19b%d", slot);
    ShowController(BasicUi_FindWidget(Environment(caller), name), value + kButtonNoController);
    return 1;
}

int AssignTeamControllers(sBasicUiWidget* caller, int v)
{
    if (IsCareerVariant(v)) OpenPage(caller, v);
    return 1;
}
