// Entering a league or tournament for the career bowler: the choice is checked (unlocked, money
// for the fee, giving up an event already entered), the fee charged and the saved record set up
// (the league's fixtures come from the league table's generator, a tournament's first round or
// ladder from the team order), then the screen that follows is started: the team's set-up for
// team events, the standings for singles. A rival game is set up the same way, without a fee. An
// entry paid for is saved at once, before its next screen; a rival's set-up is saved with the game.
#include <cstdio>
#include <initializer_list>
#include <string>

#include "host/errorlog.h"
#include "screens/career.h"
#include "screens/frontenddb.h"
#include "screens/saveflow.h"
#include "ui/environment.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/dialogbox.h"
#include "ui/widgets/scrollbox.h"
#include "ui/widgets/standings.h"

static const int kEvents = 20;

static sBasicUiEnvironment* EnvOf(sBasicUiWidget* caller)
{
    return caller ? BasicUiWidget_GetEnvironment(caller) : BasicUi_GetEnvironment();
}

// Asks with dialog `name`; 1 when the player agreed. A dialog the description lacks asks nothing.
// Agreeing pays a fee or gives up an event, so the stylus holds that answer a moment.
static int Ask(sBasicUiWidget* caller, const char* name)
{
    sBasicUiWidget* dialog = BasicUi_FindWidget(EnvOf(caller), name);
    if (!dialog) return 1;
    BasicUiWidgetTypeDialogBox_SetAcceptHold(dialog, kBasicUiCostlyHold);
    const int answer = BasicUiWidgetTypeDialogBox_OpenDialog(dialog, 2);
    return answer != 0 && answer != -1;
}

static void Tell(sBasicUiWidget* caller, const char* name)
{
    if (sBasicUiWidget* dialog = BasicUi_FindWidget(EnvOf(caller), name)) BasicUiWidgetTypeDialogBox_OpenDialog(dialog, 1);
}

static void Run(sBasicUiWidget* caller, const char* name)
{
    if (sBasicUiWidget* seq = BasicUi_FindWidget(EnvOf(caller), name)) BasicUiWidgetTypeCmdSequence_Run(seq);
}

// The event picked on a selection screen: the scroll box's index less its heading, -1 for none.
static int PickedEvent(sBasicUiWidget* caller, const char* box)
{
    sBasicUiWidget* w = BasicUi_FindWidget(EnvOf(caller), box);
    const int e = w ? BasicUiWidgetTypeScrollBox_GetSelectedIndex(w) - 1 : -1;
    return e >= 0 && e < kEvents ? e : -1;
}

static void FillAll(sBasicDbTable* t, int column, int row, int value)
{
    for (int k = 0; k < BasicDbTable_GetElementCount(t, column); ++k) BasicDbTable_SetElementIN(t, column, row, k, value);
}

// The player's first hand entry plays with the career bowler's hand.
static void CareerHand(sBasicDbTable* players, int r)
{
    BasicDbTable_SetElementIN(players, 6, r, 0, BasicDbTable_GetElementIN(players, 6, r, 4, 0));
}

// Before a question about entering event e (of list 0 leagues or 1 tournaments): the questions
// name it and its fee, and the list's upper screen shows its details. A touch takes an event
// without walking the list's selection onto it first, and the questions' own frames run no
// triggers, so the details shown would otherwise be the last event walked onto.
static void AboutToAsk(sBasicUiWidget* caller, int list, sBasicDbTable* def, int e, int fee)
{
    ComposeEntryQuestions(caller, BasicDbTable_GetStrElement(def, e, 1), fee);
    ShowDetailsOfEvent(caller, list, e);
}

// The part common to leagues and tournaments: gives up another entered event (asked once), checks
// the funds and confirms. 1 when the new event may be entered; *agreed tells whether it asked.
static int MayEnter(sBasicUiWidget* caller, sBasicDbTable* record, sBasicDbTable* players, int r, int e, int fee,
                    const char* giveUp, const char* tooPoor, const char* confirm, bool isNew)
{
    bool agreed = false;
    for (int i = 0; i < kEvents && !agreed; ++i) {
        const char s = BasicDbTable_GetElementCN(record, 11, r, i, 'Z');
        if (i == e || (s != 'P' && s != 'U')) continue;
        if (!Ask(caller, giveUp)) return 0;
        agreed = true;
    }
    if (!isNew) return 1;
    if (BasicDbTable_GetElementI(players, 8, r, 0) < fee) {
        Tell(caller, tooPoor);
        return 0;
    }
    return agreed || Ask(caller, confirm);
}

// Copies the computer teams' bowlers and starts every team in the order of its number.
static void StartTeams(sBasicDbTable* record, sBasicDbTable* def, int r, int e, int t, int m)
{
    FillAll(record, 12, r, -1);
    for (int k = 0; k < t * m && k < BasicDbTable_GetElementCount(record, 12); ++k)
        BasicDbTable_SetElementIN(record, 12, r, k, BasicDbTable_GetElementIN(def, 6, e, k, -1));
    FillAll(record, 13, r, -1);
    for (int x = 0; x < m; ++x) BasicDbTable_SetElementIN(record, 13, r, x, x);
    for (int i = 0; i < kEvents; ++i) BasicDbTable_SetElementCN(record, 11, r, i, i == e ? 'U' : 'Z');
}

int EnterLeague(sBasicUiWidget* caller, int e)
{
    sBasicDbTable* players = FrontEndTable(caller, "save", "players");
    sBasicDbTable* record = FrontEndTable(caller, "save", "league");
    sBasicDbTable* def = FrontEndTable(caller, "game", "Leagues");
    const int r = CareerSlot(caller);
    if (!players || !record || !def || r < 0 || r >= record->rows || e < 0 || e >= def->rows) return 0;
    if (BasicDbTable_GetElementCN(players, 27, r, e, 'L') == 'L') return 0;
    const int t = BasicDbTable_GetElementI(def, 4, e, 1), m = BasicDbTable_GetElementI(def, 5, e, 0);
    if (m < 2 || m % 2 || 3 * m > BasicDbTable_GetElementCount(record, kLeagueFirstWeekColumn) ||
        m > BasicDbTable_GetElementCount(record, 13))
        return PrintError("career: league %d has %d teams; the league needs an even number up to %d", e, m,
                          BasicDbTable_GetElementCount(record, 13));
    BasicDbTable_SetElementI(record, 3, r, r);
    sBasicUiWidget* table = BasicUi_FindWidget(EnvOf(caller), "s21leagueTable");
    const bool isNew = BasicDbTable_GetElementI(record, 1, r, -1) != e;
    const int fee = BasicDbTable_GetElementI(def, 10, e, 0);
    AboutToAsk(caller, 0, def, e, fee);
    if (!MayEnter(caller, record, players, r, e, fee, "s20dialog1", "s20dialog2", "s20dialog3", isNew)) return 0;
    if (!isNew) {
        // Back in the league under way, the table opens where the standings left it: on the
        // current week, at the player's place. Turning it back to week 0 and the foot of the
        // table, as for a new league, would show fixtures already played instead of the next.
        BasicUiWidgetTypeLeagueTable_SetWeek(table, BasicDbTable_GetElementI(record, 15, r, 0));
        BasicUiWidgetTypeLeagueTable_SetTop(table, BasicDbTable_GetElementI(record, 14, r, 0) - 8);
        FillAll(record, 35, r, -1);
    } else {
        BasicDbTable_SetElementI(players, 8, r, BasicDbTable_GetElementI(players, 8, r, 0) - fee);
        BasicDbTable_SetElementI(record, 1, r, e);
        BasicDbTable_SetElementI(record, 2, r, t);
        StartTeams(record, def, r, e, t, m);
        BasicDbTable_SetElementI(record, 14, r, m);
        BasicDbTable_SetElementI(record, 15, r, 0);
        for (int c = kLeagueFirstWeekColumn; c <= 34; ++c) FillAll(record, c, r, 0);
        FillAll(record, 35, r, -1);
        const int end = kLeagueFirstWeekColumn + kLeagueWeekColumns;
        BasicUiWidgetTypeLeagueTable_GenerateFixtures(record, r, kLeagueFirstWeekColumn, end, m);
        // No scores yet: every week's results read as not played.
        for (int c = kLeagueFirstWeekColumn; c < end; ++c)
            for (int k = 2 * m; k < BasicDbTable_GetElementCount(record, c); ++k) BasicDbTable_SetElementIN(record, c, r, k, -1);
        BasicUiWidgetTypeLeagueTable_SetWeek(table, 0);
        BasicUiWidgetTypeLeagueTable_SetTop(table, m - 8);
    }
    CareerHand(players, r);
    return 1;
}

int SetupLeague(sBasicUiWidget* caller, int)
{
    const int e = PickedEvent(caller, "s20sb6");
    if (e < 0 || !EnterLeague(caller, e)) return 0;
    SaveChanges();
    const int t = BasicDbTable_GetElementI(FrontEndTable(caller, "game", "Leagues"), 4, e, 1);
    if (t <= 1) Run(caller, "cSN.gotoS21");
    else if (t == 2) Run(caller, "sFgSetPlayers2.League");
    else if (t == 4) Run(caller, "sFgSetPlayers4.League");
    return 1;
}

int EnterTournament(sBasicUiWidget* caller, int e)
{
    sBasicDbTable* players = FrontEndTable(caller, "save", "players");
    sBasicDbTable* record = FrontEndTable(caller, "save", "tournament");
    sBasicDbTable* def = FrontEndTable(caller, "game", "Tournaments");
    const int r = CareerSlot(caller);
    if (!players || !record || !def || r < 0 || r >= record->rows || e < 0 || e >= def->rows) return 0;
    if (BasicDbTable_GetElementCN(players, 28, r, e, 'L') == 'L') return 0;
    const int t = BasicDbTable_GetElementI(def, 4, e, 1), m = BasicDbTable_GetElementI(def, 5, e, 0);
    const int b = BasicDbTable_GetElementI(def, 9, e, 0), g = BasicDbTable_GetElementI(def, 8, e, 0);
    const char* kind = BasicDbTable_GetStrElement(def, e, 7);
    const bool ladder = std::string(kind) == "ladder", tree = std::string(kind) == "tree";
    if (m < 2 || m % 2 || m > BasicDbTable_GetElementCount(record, 13) || (ladder && (b < 2 || b > m)) ||
        (tree && b != m))
        return PrintError("career: tournament %d (%s) has %d teams and %d places", e, kind, m, b);
    // A knock-out halves its field each round down to the final, within the record's six round
    // columns: any other size never reaches a final or writes one round over the next.
    if (tree && (b < 2 || b > 64 || (b & (b - 1)) != 0))
        return PrintError("career: tournament %d is a knock-out of %d teams, which does not halve to a final; it cannot be entered",
                          e, b);
    BasicDbTable_SetElementI(record, 3, r, r);
    const bool isNew = BasicDbTable_GetElementI(record, 1, r, -1) != e;
    const int fee = BasicDbTable_GetElementI(def, 12, e, 0);
    AboutToAsk(caller, 1, def, e, fee);
    if (!MayEnter(caller, record, players, r, e, fee, "s22dialog1", "s22dialog2", "s22dialog3", isNew)) return 0;
    if (isNew) {
        BasicDbTable_SetElementI(players, 8, r, BasicDbTable_GetElementI(players, 8, r, 0) - fee);
        BasicDbTable_SetElementI(record, 1, r, e);
        BasicDbTable_SetElementI(record, 2, r, t);
        // The career bowler bowls with the first controller; the team's set-up may change it.
        BasicDbTable_SetElementI(record, 7, r, 1);
        StartTeams(record, def, r, e, t, m);
        BasicDbTable_SetElementI(record, 14, r, m - 1);
        BasicDbTable_SetElementI(record, 15, r, 0);
        BasicDbTable_SetElementI(record, 16, r, b);
        BasicDbTable_SetElementI(record, 24, r, g);
        for (int c : {23, 25, 26}) FillAll(record, c, r, 0);
        for (int c = 17; c <= 22; ++c) FillAll(record, c, r, -1);
        if (ladder && g == 0) {
            for (int i = 0; i <= b - 2; ++i) BasicDbTable_SetElementIN(record, 17, r, 2 * i, i);
            BasicDbTable_SetElementIN(record, 17, r, 2 * (b - 2) + 1, m - 1);
            BasicDbTable_SetElementI(record, 14, r, b - 2);
        } else if (tree) {
            for (int x = 0; x < m; ++x) BasicDbTable_SetElementIN(record, 17, r, x, x);
        }
    }
    CareerHand(players, r);
    return 1;
}

const char* PlaceTournamentStandings(sBasicUiWidget* caller, int e)
{
    sBasicDbTable* record = FrontEndTable(caller, "save", "tournament");
    sBasicDbTable* def = FrontEndTable(caller, "game", "Tournaments");
    const int r = CareerSlot(caller);
    if (!record || !def || r < 0 || r >= record->rows || e < 0 || e >= def->rows) return nullptr;
    const std::string kind = BasicDbTable_GetStrElement(def, e, 7);
    const int m = BasicDbTable_GetElementI(def, 5, e, 0), b = BasicDbTable_GetElementI(record, 16, r, 0);
    const int position = BasicDbTable_GetElementI(record, 14, r, 0);
    sBasicUiEnvironment* env = EnvOf(caller);
    if (kind == "tree") {
        const int round = BasicDbTable_GetElementI(record, 15, r, 0);
        sBasicUiWidget* w = BasicUi_FindWidget(env, "s23TreeTable");
        BasicUiWidgetTypeTreeTable_SetTop(w, m / (1 << (round < 0 || round > 8 ? 0 : round)) - 8);
        BasicUiWidgetTypeTreeTable_SetRound(w, round - 1);
        return "cSN.gotoS23";
    }
    if (kind == "ladder") {
        sBasicUiWidget* w = BasicUi_FindWidget(env, "s24LadderTable");
        const bool qualified = BasicDbTable_GetElementIN(record, 23, r, m - 1, 0) == BasicDbTable_GetElementI(record, 24, r, 0);
        BasicUiWidgetTypeLadderTable_SetTop(w, qualified ? position - 3 : position - 7);
        BasicUiWidgetTypeLadderTable_SetRound(w, qualified ? b - position - 2 : 0);
        return "cSN.gotoS24";
    }
    BasicUiWidgetTypeScoreTable_SetTop(BasicUi_FindWidget(env, "s25ScoreTable"), position - 7);
    return "cSN.gotoS25";
}

int SetupTournament(sBasicUiWidget* caller, int)
{
    const int e = PickedEvent(caller, "s22sb6");
    sBasicDbTable* record = FrontEndTable(caller, "save", "tournament");
    const int r = CareerSlot(caller);
    const bool playing = record && BasicDbTable_GetElementI(record, 1, r, -1) == e &&
                         BasicDbTable_GetElementCN(record, 11, r, e, 'Z') == 'P';
    if (e < 0 || !EnterTournament(caller, e)) return 0;
    SaveChanges();
    const int t = playing ? 0 : BasicDbTable_GetElementI(FrontEndTable(caller, "game", "Tournaments"), 4, e, 1);
    const char* go = PlaceTournamentStandings(caller, e);
    if (!go) return 0;
    // The team set-up leads on to the page of the same name as the standings it is for.
    const std::string to = go;
    const char* screen = to == "cSN.gotoS23" ? "Tree" : (to == "cSN.gotoS24" ? "Ladder" : "HighScore");
    char name[40];
    if (t <= 1) {
        Run(caller, go);
    } else if (t == 2 || t == 4) {
        std::snprintf(name, sizeof name, "sFgSetPlayers%d.%s", t, screen);
        Run(caller, name);
    }
    return 1;
}

// The record set-up of a rival game; 0 when the rival is locked or a table is missing.
static int PrepareRival(sBasicUiWidget* caller, int v, int* teamSize)
{
    sBasicDbTable* players = FrontEndTable(caller, "save", "players");
    sBasicDbTable* record = FrontEndTable(caller, "save", "rival");
    sBasicDbTable* rivals = FrontEndTable(caller, "game", "Rivals");
    const int r = CareerSlot(caller);
    if (!players || !record || !rivals || !FrontEndTable(caller, "game", "NPCs") || r < 0 || r >= record->rows) return 0;
    if (v < 0 || v >= rivals->rows || BasicDbTable_GetElementCN(players, 29, r, v, 'L') == 'L') return 0;
    BasicDbTable_SetElementI(record, 3, r, r);
    BasicDbTable_SetElementI(record, 1, r, v);
    BasicDbTable_SetElementI(record, 7, r, 1);
    CareerHand(players, r);
    *teamSize = BasicDbTable_GetElementI(rivals, 1, v, 1);
    return 1;
}

int SetupRival(sBasicUiWidget* caller, int v)
{
    int t = 0;
    if (!PrepareRival(caller, v, &t)) return 0;
    if (t == 1) Run(caller, "cSN.startS19p1v10");
    else if (t == 2) Run(caller, "sFgSetPlayers2.Rival");
    else if (t == 4) Run(caller, "sFgSetPlayers4.Rival");
    return 0;
}

// 0 also when a table is missing, not only when the rival is locked: nothing was set up then, and
// a script that went on as if it had been would start a rival game from an old or empty record.
int SetupRivalImmediate(sBasicUiWidget* caller, int v)
{
    int t = 0;
    return PrepareRival(caller, v, &t);
}
