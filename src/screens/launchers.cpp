// The game launchers: script functions that turn the set-up tables of the "save" database into a
// game. Each clears the last results, sets the game type, frees the controllers, fills one player
// record per bowler (people on their controllers, the computer's bowlers by their abilities), copies
// the in-game options, picks the alley and the oil and leaves the menu for the game. The career
// launchers also mark the event as being played, add the opponents of the current fixture and save
// first. Every count, row, alley and controller read from the tables is checked before it indexes
// anything: a bad one is reported and either mended (an alley or controller out of range) or the
// launch refused.
#include "screens/launchers.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "db/dbxml.h"
#include "game/areas.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/minigames.h"
#include "game/records.h"
#include "game/scoring.h"
#include "lib/printing.h"
#include "lib/screenapi.h"
#include "platform/input.h"
#include "platform/utilities.h"
#include "screens/frontenddb.h"
#include "screens/playerfill.h"
#include "screens/results.h"
#include "screens/screenstack.h"
#include "screens/scriptfunctions_play.h"
#include "shell/settings.h"
#include "ui/environment.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/dialogbox.h"

int lastGameType = kLastGameNone;

static const int kSetupSlots = 4;
static const int kQuickStartArea = 4;
static const int kPracticeArea = 4;
static const int kGameCareer = 1;
static const int kGamePractice = 3;
static const int kGameRivalStandard = 6;
static const int kComputerSpread = 20;

// Set-up table columns: the area, the count, the bowlers' rows and their controllers.
enum { kSetupArea = 1, kSetupCount = 2, kSetupRow = 3, kSetupController = 7, kSetupMiniGame = 11 };

void FormatUiText(const char* format, const char* text, int number, char* out, int size)
{
    if (!out || size < 1) return;
    int n = 0, textUsed = 0, numberUsed = 0;
    auto put = [&](const char* s) {
        for (; *s && n < size - 1; ++s) out[n++] = *s;
    };
    for (const char* f = format ? format : ""; *f && n < size - 1; ++f) {
        if (f[0] == '%' && f[1] == 's' && !textUsed) {
            put(text ? text : "");
            textUsed = 1;
            ++f;
        } else if (f[0] == '%' && (f[1] == 'i' || f[1] == 'd') && !numberUsed) {
            char digits[16];
            std::snprintf(digits, sizeof digits, "%d", number);
            put(digits);
            numberUsed = 1;
            ++f;
        } else {
            out[n++] = *f;
        }
    }
    out[n] = '\0';
}

static int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

// The alley of a set-up row; one the game does not have is reported and replaced by the first.
static int Area(int value)
{
    if (value >= 0 && value < kNumAreas) return value;
    PrintError("launch: there is no alley %d; the first alley is used", value);
    return 0;
}

static void RunSequence(sBasicUiWidget* caller, const char* name)
{
    sBasicUiEnvironment* env = caller ? BasicUiWidget_GetEnvironment(caller) : BasicUi_GetEnvironment();
    if (sBasicUiWidget* seq = BasicUi_FindWidget(env, name)) BasicUiWidgetTypeCmdSequence_Run(seq);
}

static void BeginLaunch(int gameType, int lastType, int freeSlots, int assign)
{
    ClrPlayerResults();
    gQuickPlayBowlerRow = -1;
    gGameType = gameType;
    lastGameType = lastType;
    gPracticeBallLimit = 0;
    InitGameControllers();
    if (assign) AssignControllers(nullptr, 0);
    for (int i = 0; i < freeSlots; ++i) {
        SetControllerAssignment(i, kAssignmentComputer);
        gameControllers[i].assignment = 1;
    }
}

// A clean record for the slot's new bowler.
static void ClearSlot(int slot)
{
    TITLE_PlayerInfoStruct& p = gPlayerInfo[slot];
    std::memset(&p.playerData, 0, sizeof p.playerData);
    for (BallDataTag& b : p.ballData) b = BallDataTag{};
    p.ballSelected = 0;
    p.suspendControls = 0;
    p.bumpers = 0;
    p.laneNum = 1;
}

struct Bowler {
    sBasicDbTable* table;  // "players" or "NPCs"
    int row, numberRow;
    int fromNPCs, careerHand, defaultBalls, quickStats;
};

// A person's bowler on controller number `controller` (counted from 1).
static int FillPerson(int slot, int controller, const Bowler& b)
{
    ClearSlot(slot);
    TITLE_PlayerInfoStruct& p = gPlayerInfo[slot];
    const int c = Clamp(controller - 1, 0, kNumControllerStates - 1);
    gameControllers[slot].joystick = &controllers[c];
    p.controllerSlot = c;
    if (!WritePlayerNameAndNumber(b.table, b.row, slot, b.numberRow) ||
        !SetupPlayerRSIDs(slot, b.row, 0, slot, b.careerHand, b.defaultBalls))
        return 0;
    UpdateModifiers(slot, b.row, 0, b.careerHand);
    if (!(b.quickStats ? SetPlayerStatsQuick(slot, b.row) : SetPlayerStats(slot, b.row))) return 0;
    SetControllerAssignment(slot, 0);
    gameControllers[slot].assignment = 0;
    ResetPlayerInfo(&p);
    return 1;
}

// A bowler of the computer: its abilities by its average, its look from its row.
static int FillComputer(int slot, const Bowler& b, int average, int spread, int opponent)
{
    ClearSlot(slot);
    TITLE_PlayerInfoStruct& p = gPlayerInfo[slot];
    gameControllers[slot].joystick = &controllers[0];
    p.controllerSlot = 0;
    const int female = BasicDbTable_GetElementI(b.table, 7, b.row, 0);
    if (!SetNPCAbilities(slot, female, average, spread) ||
        !SetupPlayerRSIDs(slot, b.row, b.fromNPCs, slot, b.careerHand, b.defaultBalls))
        return 0;
    UpdateModifiers(slot, b.row, b.fromNPCs, b.careerHand);
    const int named = opponent ? WriteNPCName(b.table, b.row, slot, b.numberRow)
                               : WriteCPUNameAndNumber(b.table, b.row, slot, b.numberRow);
    ResetPlayerInfo(&p);
    return named;
}

static int FinishLaunch(int slots, int saveFirst)
{
    if (slots < 1) return 0;
    verifyControllers = 1;
    gNumPlayers = slots;
    GetHardwareAssignments();
    if (saveFirst) {
        sBasicDb* save = FrontEndDb(nullptr, "save");
        BasicDb_Save(&save, "save.db.xml");
    }
    SetupInGameOptions();
    // Leaves the front end: the screen loop sets the game up on the next pass.
    NextScreen(kTabGroupGame);
    return 1;
}

// A computer bowler of quick play bowls to its own average once it has one, else to what its
// ratings promise: 100 pins plus a third of their sum (a 75/75/70 bowler averages about 173).
static int QuickComputerAverage(sBasicDbTable* players, int row)
{
    const int average = BasicDbTable_GetElementI(players, 36, row, 0);
    if (average > 0) return average;
    int sum = 0;
    for (int column = 3; column <= 5; ++column) sum += BasicDbTable_GetElementI(players, column, row, 0);
    return 100 + sum / 3;
}

// Quick play and the mini-games: up to four bowlers of the set-up row, each played by the person
// on its controller, or by the computer when the controller is 0.
static int LaunchSetup(sBasicUiWidget* caller, const char* tableName, int defaultBalls)
{
    sBasicDbTable* setup = FrontEndTable(caller, "save", tableName);
    sBasicDbTable* players = FrontEndTable(caller, "save", "players");
    if (!setup || !players) return 0;
    areaNum = Area(BasicDbTable_GetElementI(setup, kSetupArea, 0, 0));
    int n = BasicDbTable_GetElementI(setup, kSetupCount, 0, 0);
    if (n < 1) return 0;
    if (n > kSetupSlots) {
        PrintError("launch: %s names %d bowlers; %d play", tableName, n, kSetupSlots);
        n = kSetupSlots;
    }
    for (int k = 0; k < n; ++k) {
        const int row = BasicDbTable_GetElementI(setup, kSetupRow + k, 0, -1);
        if (row < 0 || row >= players->rows) return PrintError("launch: %s names no bowler in row %d", tableName, row);
        const int controller = BasicDbTable_GetElementI(setup, kSetupController + k, 0, 0);
        const Bowler b = {players, row, row, 0, 0, defaultBalls, 1};
        const int ok = controller > 0 ? FillPerson(k, controller, b)
                                      : FillComputer(k, b, QuickComputerAverage(players, row), kComputerSpread, 0);
        if (!ok) return 0;
        if (controller <= 0) SetPlayerStatsQuick(k, row);
        if (k == 0 && controller > 0 && lastGameType == kLastGameQuick) gQuickPlayBowlerRow = row;
    }
    return FinishLaunch(n, 0);
}

int PlayGameQuick(sBasicUiWidget* caller, int)
{
    BeginLaunch(kGameStandard, kLastGameQuick, kSetupSlots, 1);
    gGameOptions.oilPattern = uint8_t(RandomNumber(1, 6));
    return LaunchSetup(caller, "quick play setup", 1);
}

int PlayGameMini(sBasicUiWidget* caller, int)
{
    sBasicDbTable* setup = FrontEndTable(caller, "save", "mini game setup");
    const int kind = BasicDbTable_GetElementI(setup, kSetupMiniGame, 0, -1);
    const int type = kind == 0 ? kGamePoker : (kind == 1 ? kGameSpares : (kind == 2 ? kGameBingo : kGameStandard));
    BeginLaunch(type, kLastGameMini, kSetupSlots, 1);
    gGameOptions.oilPattern = 3;
    return LaunchSetup(caller, "mini game setup", 0);
}

int QuickStart(sBasicUiWidget* caller, int)
{
    BeginLaunch(kGameStandard, kLastGameQuick, kSetupSlots, 0);
    sBasicDbTable* players = FrontEndTable(caller, "save", "players");
    if (!players) return 0;
    areaNum = kQuickStartArea;
    const int first = GetFirstController();
    const Bowler b = {players, 1, 1, 0, 0, 0, 0};
    if (!FillPerson(0, Clamp(first, 0, kNumControllerStates - 1) + 1, b)) return 0;
    gPlayerInfo[0].controllerSlot = 0;
    gQuickPlayBowlerRow = 1;
    return FinishLaunch(1, 0);
}

// Practice and pin selection: the career bowler alone, on the first free controller.
static int LaunchCareerBowler(sBasicUiWidget* caller)
{
    sBasicDbTable* players = FrontEndTable(caller, "save", "players");
    const int r = CareerSlot(caller);
    if (!players || r < 0 || r >= players->rows) return 0;
    areaNum = kPracticeArea;
    const Bowler b = {players, r, r, 0, 1, 0, 0};
    if (!FillPerson(0, FindFirstAvailableController(), b)) return 0;
    return FinishLaunch(1, 1);
}

int PlayGamePractice(sBasicUiWidget* caller, int)
{
    BeginLaunch(kGamePractice, kLastGamePractice, kMaxPlayers, 1);
    gGameOptions.oilPattern = 2;
    return LaunchCareerBowler(caller);
}

int PlayGamePinSelect(sBasicUiWidget* caller, int)
{
    BeginLaunch(kGamePinSelect, kLastGamePinSelect, kMaxPlayers, 1);
    gGameOptions.oilPattern = 1;
    return LaunchCareerBowler(caller);
}

// The oil of a career event by its row: the first, middle and last thirds of the events draw from
// the light, medium and heavy patterns; a row outside them keeps the current pattern.
static void EventOil(int row, int firstEnd, int secondEnd)
{
    if (row >= 0 && row <= firstEnd) gGameOptions.oilPattern = uint8_t(RandomNumber(1, 3));
    else if (row > firstEnd && row <= secondEnd) gGameOptions.oilPattern = uint8_t(RandomNumber(4, 6));
    else if (row > secondEnd && row <= 19) gGameOptions.oilPattern = uint8_t(RandomNumber(7, 9));
}

// The career bowler's team of a record row ("league", "tournament" or "rival"): members in columns
// 3 to 6, controllers in 7 to 10 (0: bowled by the computer at the event's level). The career
// bowler itself (the first member) is always the person's, on the first free controller when its
// column names none.
static int FillTeam(sBasicDbTable* record, int r, int t, int average, int spread)
{
    sBasicDbTable* players = FrontEndTable(nullptr, "save", "players");
    for (int i = 0; i < t; ++i) {
        const int row = BasicDbTable_GetElementI(record, 3 + i, r, -1);
        if (row < 0 || !players || row >= players->rows) return PrintError("launch: the team names no bowler in row %d", row);
        int controller = BasicDbTable_GetElementI(record, 7 + i, r, 0);
        if (i == 0 && controller <= 0) controller = FindFirstAvailableController() > 0 ? FindFirstAvailableController() : 1;
        const Bowler b = {players, row, t >= 2 ? r : -1, 0, 1, 0, 0};
        if (!(controller > 0 ? FillPerson(i, controller, b) : FillComputer(i, b, average, spread, 0))) return 0;
    }
    return 1;
}

// The opponents: t computer bowlers from the NPC rows of `npcs` (an int array column of `def`,
// team o's members at o x t + i), after the player's team.
static int FillOpponents(sBasicDbTable* def, int defRow, int npcColumn, int o, int t, int average, int spread,
                         int firstSlot)
{
    sBasicDbTable* npcs = FrontEndTable(nullptr, "game", "NPCs");
    if (!npcs) return 0;
    for (int i = 0; i < t; ++i) {
        const int row = BasicDbTable_GetElementIN(def, npcColumn, defRow, o * t + i, 0);
        const int numberRow = t >= 2 ? BasicDbTable_GetElementIN(def, npcColumn, defRow, o * t, 0) : -1;
        const Bowler b = {npcs, row, numberRow, 1, 1, 0, 0};
        if (!FillComputer(firstSlot + i, b, average, spread, 1)) return 0;
    }
    return 1;
}

enum CareerKind { kLeague, kTree, kLadder, kHighScore };

// The opponent team of the player's team (m - 1) in the current fixture, -1 when none is found.
static int Opponent(CareerKind kind, sBasicDbTable* record, int r, int m)
{
    const int me = m - 1;
    if (kind == kLadder) {
        const int p = BasicDbTable_GetElementI(record, 14, r, 0);
        const int a = BasicDbTable_GetElementIN(record, 17, r, 2 * p, -1), b = BasicDbTable_GetElementIN(record, 17, r, 2 * p + 1, -1);
        return a == me ? b : (b == me ? a : 0);
    }
    const int w = BasicDbTable_GetElementI(record, 15, r, 0);
    const int column = (kind == kLeague ? 16 : 17) + w;
    const int step = kind == kLeague ? 1 : 2;
    for (int j = 0; j < m; j += step) {
        const int e = kind == kLeague ? 2 * j : j;
        const int a = BasicDbTable_GetElementIN(record, column, r, e, -1), b = BasicDbTable_GetElementIN(record, column, r, e + 1, -1);
        if (a == me) return b;
        if (b == me) return a;
    }
    return -1;
}

static int PlayCareer(sBasicUiWidget* caller, int arg, CareerKind kind)
{
    static const int kLast[] = {kLastGameLeague, kLastGameTree, kLastGameLadder, kLastGameHighScore};
    BeginLaunch(kGameCareer, kLast[kind], kMaxPlayers, 1);
    const int league = kind == kLeague;
    sBasicDbTable* record = FrontEndTable(caller, "save", league ? "league" : "tournament");
    sBasicDbTable* def = FrontEndTable(caller, "game", league ? "Leagues" : "Tournaments");
    const int r = CareerSlot(caller);
    if (!record || !def || !FrontEndTable(caller, "save", "players") || r < 0 || r >= record->rows) return 0;
    const int e = BasicDbTable_GetElementI(record, 1, r, -1);
    if (e < 0 || e >= def->rows) return PrintError("launch: the career has no event %d", e);
    const int t = BasicDbTable_GetElementI(def, 4, e, 1), m = BasicDbTable_GetElementI(def, 5, e, 0);
    if (t < 1 || 2 * t > kMaxPlayers || m < 1) return PrintError("launch: event %d has teams of %d in %d", e, t, m);

    if (BasicDbTable_GetElementCN(record, 11, r, e, 'Z') == 'Z') {
        BasicDbTable_SetElementI(record, 1, r, -1);
        RunSequence(caller, league ? "cSN.startS20" : "cSN.startS22");
        return 1;
    }
    if (arg < 1 && t > 1) {
        if (arg == 0 && (t == 2 || t == 4)) {
            char name[32];
            std::snprintf(name, sizeof name, "cSN.startS19p%dv%d", t, 6 + int(kind));
            RunSequence(caller, name);
        }
        return 1;
    }
    BasicDbTable_SetElementCN(record, 11, r, e, 'P');
    areaNum = Area(BasicDbTable_GetElementI(def, 3, e, 0));
    if (league) EventOil(e, 5, 11);
    else EventOil(e, 3, 10);
    const int average = BasicDbTable_GetElementI(def, league ? 15 : 17, e, 150);
    const int spread = BasicDbTable_GetElementI(def, league ? 16 : 18, e, kComputerSpread);
    if (!FillTeam(record, r, t, average, spread)) return 0;
    int slots = t;
    const int ladderGame = kind == kLadder && BasicDbTable_GetElementIN(record, 23, r, m - 1, BasicDbTable_GetElementI(record, 24, r, 0)) ==
                                                  BasicDbTable_GetElementI(record, 24, r, 0);
    if (kind == kLeague || kind == kTree || ladderGame) {
        const int o = Opponent(kind, record, r, m);
        if (o < 0) PrintError(league ? "PlayGameLeague: Fixture Error!" : "PlayGameTree: Fixture Error!");
        if (!FillOpponents(def, e, 6, o, t, average, spread, t)) return 0;
        slots += t;
    }
    return FinishLaunch(slots, 1);
}

int PlayGameLeague(sBasicUiWidget* caller, int arg) { return PlayCareer(caller, arg, kLeague); }
int PlayGameTree(sBasicUiWidget* caller, int arg) { return PlayCareer(caller, arg, kTree); }
int PlayGameLadder(sBasicUiWidget* caller, int arg) { return PlayCareer(caller, arg, kLadder); }
int PlayGameHighScore(sBasicUiWidget* caller, int arg) { return PlayCareer(caller, arg, kHighScore); }

int PlayGameRival(sBasicUiWidget* caller, int arg)
{
    sBasicDbTable* record = FrontEndTable(caller, "save", "rival");
    sBasicDbTable* rivals = FrontEndTable(caller, "game", "Rivals");
    const int r = CareerSlot(caller);
    const int v = BasicDbTable_GetElementI(record, 1, r, -1);
    const int game = BasicDbTable_GetElementI(rivals, 8, v, 0);
    static const int kTypes[] = {kGameRivalStandard, kGamePoker, kGameSpares, kGameBingo};
    BeginLaunch(game >= 0 && game <= 3 ? kTypes[game] : kGameCareer, kLastGameRival, kMaxPlayers, 1);
    if (!record || !rivals || r < 0 || r >= record->rows) return 0;
    if (v < 0 || v >= rivals->rows) return PrintError("launch: the career has no rival %d", v);
    const int t = BasicDbTable_GetElementI(rivals, 1, v, 1);
    if (t < 1 || 2 * t > kMaxPlayers) return PrintError("launch: rival %d has a team of %d", v, t);
    if (arg == 0) {
        char name[32];
        std::snprintf(name, sizeof name, "cSN.startS19p%dv10", t);
        if (t == 1 || t == 2 || t == 4) RunSequence(caller, name);
        return 1;
    }
    areaNum = Area(BasicDbTable_GetElementI(rivals, 9, v, 0));
    EventOil(v, 2, 11);
    const int average = BasicDbTable_GetElementI(rivals, 14, v, 150), spread = BasicDbTable_GetElementI(rivals, 15, v, kComputerSpread);
    if (!FillTeam(record, r, t, average, spread)) return 0;
    sBasicDbTable* npcs = FrontEndTable(caller, "game", "NPCs");
    for (int i = 0; i < t; ++i) {
        const Bowler b = {npcs, BasicDbTable_GetElementI(rivals, 2 + i, v, 0), t >= 2 ? BasicDbTable_GetElementI(rivals, 2, v, 0) : -1, 1, 1, 0, 0};
        if (!npcs || !FillComputer(t + i, b, average, spread, 1)) return 0;
    }
    return FinishLaunch(2 * t, 1);
}

// Writes format (row `formatRow`) applied to text into row `row` of the strings table.
static void Compose(sBasicDbTable* strings, int row, int formatRow, const char* text)
{
    char line[256];
    FormatUiText(BasicDbTable_GetStrElement(strings, formatRow, 1), text, 0, line, int(sizeof line));
    BasicDbTable_GetElementFromStr(strings, row, 1, line, int(std::strlen(line)));
}

// The quick-play question's format of the bowlers' line ("ui" "s0Strings").
static const int kBowlersFormatRow = 26;

// Adds a text after the separator to what the buffer holds (cut at its size).
static void Append(char* out, int size, const char* separator, const char* text)
{
    size_t used = std::strlen(out);
    for (const char* part : {separator, text ? text : ""})
        for (; *part && used + 1 < size_t(size); ++part) out[used++] = *part;
    out[used] = '\0';
}

int QuickSetupDialog(sBasicUiWidget* caller, int)
{
    sBasicDbTable* strings = FrontEndTable(caller, "ui", "s0Strings");
    sBasicDbTable* setup = FrontEndTable(caller, "save", "quick play setup");
    sBasicDbTable* players = FrontEndTable(caller, "save", "players");
    sBasicDbTable* locations = FrontEndTable(caller, "ui", "locations");
    if (!locations) locations = FrontEndTable(caller, "game", "locations");
    sBasicUiEnvironment* env = caller ? BasicUiWidget_GetEnvironment(caller) : BasicUi_GetEnvironment();
    sBasicUiWidget* panel = BasicUi_FindWidget(env, "s0qp");
    sBasicUiWidget* dialog = BasicUi_FindWidget(env, "s0dialogQP");
    if (!strings || !setup || !players || !locations || !panel || !dialog) return 1;
    int location = BasicDbTable_GetElementI(setup, kSetupArea, 0, 0) + 1;
    if (location < 2 || location > 6) location = 1;
    int n = BasicDbTable_GetElementI(setup, kSetupCount, 0, 1);
    if (n < 1 || n > kSetupSlots) n = 1;
    char names[256] = "";
    for (int i = 0; i < kSetupSlots; ++i) {
        const int row = BasicDbTable_GetElementI(setup, kSetupRow + i, 0, -1);
        const char* name = i < n ? BasicDbTable_GetStrElement(players, row, 1) : BasicDbTable_GetStrElement(strings, 22, 1);
        Compose(strings, 14 + i, 9 + i, name);
        if (i < n) Append(names, int(sizeof names), i ? ", " : "", name);
    }
    // The question's message: the alley, and on a line of its own (two spaces end a line of the
    // message's column) the bowlers that play.
    char message[256], bowlers[256];
    FormatUiText(BasicDbTable_GetStrElement(strings, 8, 1), BasicDbTable_GetStrElement(locations, location, 1), 0,
                 message, int(sizeof message));
    FormatUiText(BasicDbTable_GetStrElement(strings, kBowlersFormatRow, 1), names, 0, bowlers, int(sizeof bowlers));
    Append(message, int(sizeof message), "  ", bowlers);
    BasicDbTable_GetElementFromStr(strings, 13, 1, message, int(std::strlen(message)));
    panel->isActive.value = 1;
    panel->isRender.value = 1;
    const int answer = BasicUiWidgetTypeDialogBox_OpenDialog(dialog, 2);
    panel->isActive.value = 0;
    panel->isRender.value = 0;
    if (answer != 2) return 1;
    PlayGameQuick(nullptr, 0);
    return 0;
}
