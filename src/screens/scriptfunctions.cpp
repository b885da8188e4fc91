// The front end's script functions in the registry: 57 registrations under 55 names. 53 are the
// menus' standard set, in the order the menus were written against ("GameSave" and
// "UpdateLeagueStandings" appear twice, the second changing nothing); four are this game's own,
// each registered beside the standard functions of its page and marked so below:
// "ShowQuickPlaySlots", "ShowEventDetails", "OpenLeagueTable" and "OpenTournamentStandings".
#include "screens/scriptfunctions.h"

#include "screens/bowlerpreview.h"
#include "screens/career.h"
#include "screens/frontend.h"
#include "screens/proshop.h"
#include "screens/scriptfunctions_play.h"
#include "screens/trophies.h"
#include "screens/tutorials.h"
#include "ui/frameupdate.h"
#include "ui/registry.h"

int ClearInvite(sBasicUiWidget*, int) { return 1; }
int QPlayCheck(sBasicUiWidget*, int) { return 1; }
int MGameCheck(sBasicUiWidget*, int) { return 1; }
int CheckForControllerPresenceII(sBasicUiWidget*, int) { return 1; }
int ShowControllerRequiredMessage(sBasicUiWidget*, int) { return 1; }
int SetupTree(sBasicUiWidget*, int) { return 0; }
int SetupLadder(sBasicUiWidget*, int) { return 0; }
int SetupHighScore(sBasicUiWidget*, int) { return 0; }

int PlayMovie(sBasicUiWidget*, int)
{
    BasicUiCounter_SetElapsedTime(0);
    BasicUiCounter_SetElapsedTime(0);
    return 1;
}

// Neither of these games is played on the PC: the two launchers start nothing, but clear the
// results as every launcher does first, to "no result", so that no fold counts a game not played.
int PlayGameVellomarkChallenge(sBasicUiWidget*, int)
{
    ClrPlayerResults();
    return 0;
}

int PlayGameOnline(sBasicUiWidget*, int)
{
    ClrPlayerResults();
    return 0;
}

namespace {

struct ScriptFunction {
    const char* name;
    BasicFn fn;
};

// The registration order: the 53 standard registrations with the game's own four among them.
const ScriptFunction kScriptFunctions[] = {
    {"GameSave", GameSave},
    {"GameLoad", GameLoad},
    {"ClearInvite", ClearInvite},
    {"GameSave", GameSave},
    {"CareerInProgressCheck", CareerInProgressCheck},
    {"SetupLeague", SetupLeague},
    {"SetupTournament", SetupTournament},
    {"SetupTree", SetupTree},
    {"SetupLadder", SetupLadder},
    {"SetupHighScore", SetupHighScore},
    {"SetupRival", SetupRival},
    {"SetupRivalImmediate", SetupRivalImmediate},
    {"CheckRival", CheckRival},
    {"QPlayCheck", QPlayCheck},
    {"MGameCheck", MGameCheck},
    {"QuickStart", QuickStart},
    {"PlayMovie", PlayMovie},
    {"QuickSetupDialog", QuickSetupDialog},
    {"PlayGameQuick", PlayGameQuick},
    {"PlayGameMini", PlayGameMini},
    {"PlayGameVellomarkChallenge", PlayGameVellomarkChallenge},
    {"PlayGameOnline", PlayGameOnline},
    {"PlayGameLeague", PlayGameLeague},
    {"PlayGameTree", PlayGameTree},
    {"PlayGameLadder", PlayGameLadder},
    {"PlayGameHighScore", PlayGameHighScore},
    {"PlayGameRival", PlayGameRival},
    {"PlayGamePractice", PlayGamePractice},
    {"PlayGamePinSelect", PlayGamePinSelect},
    {"UpdateLeagueStandings", UpdateLeagueStandings},
    {"UpdateTreeStandings", UpdateTreeStandings},
    {"UpdateLadderStandings", UpdateLadderStandings},
    {"UpdateHighScoreStandings", UpdateHighScoreStandings},
    {"UpdateLeagueStandings", UpdateLeagueStandings},
    {"UpdateRivalStandings", UpdateRivalStandings},
    {"ResetCareer", ResetCareer},
    {"ProShopEnter", ProShopEnter},
    {"ProShopLeave", ProShopLeave},
    {"HandleProShopItemSelect", HandleProShopItemSelect},
    {"HandleProShopItemEnter", HandleProShopItemEnter},
    {"SelectNextPlayerIndex", SelectNextPlayerIndex},
    {"VerifyCustomPlayerUnload", VerifyCustomPlayerUnload},
    {"ShowQuickPlaySlots", ShowQuickPlaySlots},  // the game's own: dims quick play's slots that do not play
    {"SetupPlayerModel", SetupPlayerModel},
    {"LoadPlayerModel", LoadPlayerModel},
    {"CharacterChanged", CharacterChanged},
    {"AssignControllers", AssignControllers},
    {"AssignTeamControllers", AssignTeamControllers},  // the game's own: a career team's controller page
    {"CheckForControllerPresence", CheckForControllerPresence},
    {"CheckForControllerPresenceII", CheckForControllerPresenceII},
    {"UpdateTrophies", UpdateTrophies},
    {"SetupEvents", SetupEvents},
    {"ShowEventDetails", ShowEventDetails},  // the game's own: the career lists' event details
    {"OpenLeagueTable", OpenLeagueTable},  // the game's own: the hub's League Table entry
    {"OpenTournamentStandings", OpenTournamentStandings},  // the game's own: the hub's Tournament Table entry
    {"StartTutorial", StartTutorial},
    {"NextTutorial", NextTutorial},
    {"ShowControllerRequiredMessage", ShowControllerRequiredMessage},
};

}  // namespace

int RegisterScriptFunctions()
{
    int registered = 0;
    for (const ScriptFunction& f : kScriptFunctions) registered += BasicFn_Register(f.name, f.fn);
    return registered;
}
