// The front end's script functions in the registry, in the order the menus were written against
// (53 registrations; "GameSave" and "UpdateLeagueStandings" appear twice, the second changing
// nothing). The careers' functions stand in their places below as comments: each joins the table,
// in its place, together with its module.
#include "screens/scriptfunctions.h"

#include "screens/bowlermodel.h"
#include "screens/bowlerpreview.h"
#include "screens/frontend.h"
#include "screens/scriptfunctions_play.h"
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

int PlayGameVellomarkChallenge(sBasicUiWidget*, int)
{
    ZeroPlayerResults();
    return 0;
}

int PlayGameOnline(sBasicUiWidget*, int)
{
    ZeroPlayerResults();
    return 0;
}

namespace {

struct ScriptFunction {
    const char* name;
    BasicFn fn;
};

// The registration order. Lines marked "career:" are the careers, pro shop and trophies, which
// join with their modules.
const ScriptFunction kScriptFunctions[] = {
    {"GameSave", GameSave},
    {"GameLoad", GameLoad},
    {"ClearInvite", ClearInvite},
    {"GameSave", GameSave},
    // career: {"CareerInProgressCheck", CareerInProgressCheck},
    // career: {"SetupLeague", SetupLeague},
    // career: {"SetupTournament", SetupTournament},
    {"SetupTree", SetupTree},
    {"SetupLadder", SetupLadder},
    {"SetupHighScore", SetupHighScore},
    // career: {"SetupRival", SetupRival},
    // career: {"SetupRivalImmediate", SetupRivalImmediate},
    // career: {"CheckRival", CheckRival},
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
    // career: {"UpdateLeagueStandings", UpdateLeagueStandings},
    // career: {"UpdateTreeStandings", UpdateTreeStandings},
    // career: {"UpdateLadderStandings", UpdateLadderStandings},
    // career: {"UpdateHighScoreStandings", UpdateHighScoreStandings},
    // career: {"UpdateLeagueStandings", UpdateLeagueStandings},
    // career: {"UpdateRivalStandings", UpdateRivalStandings},
    // career: {"ResetCareer", ResetCareer},
    // career: {"ProShopEnter", ProShopEnter},
    // career: {"ProShopLeave", ProShopLeave},
    // career: {"HandleProShopItemSelect", HandleProShopItemSelect},
    // career: {"HandleProShopItemEnter", HandleProShopItemEnter},
    {"SelectNextPlayerIndex", SelectNextPlayerIndex},
    {"VerifyCustomPlayerUnload", VerifyCustomPlayerUnload},
    {"SetupPlayerModel", SetupPlayerModel},
    {"LoadPlayerModel", LoadPlayerModel},
    {"CharacterChanged", CharacterChanged},
    {"AssignControllers", AssignControllers},
    {"CheckForControllerPresence", CheckForControllerPresence},
    {"CheckForControllerPresenceII", CheckForControllerPresenceII},
    // career: {"UpdateTrophies", UpdateTrophies},
    // career: {"SetupEvents", SetupEvents},
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
