// The game loop with its set-up, per-frame steps and tear-down. The overlays, the front end and the
// test mode stand above the game, so they are reached through the record the top layer fills in at
// start-up (shell/upperlayers.h).
#include "game/gameloop.h"

#include <cstdio>
#include <cstring>

#include "game/actors.h"
#include "game/areas.h"
#include "game/ball.h"
#include "game/camera.h"
#include "game/characterload.h"
#include "game/characters.h"
#include "game/collision.h"
#include "game/computer.h"
#include "game/controls.h"
#include "game/envobjects.h"
#include "game/gameactors.h"
#include "game/minigames.h"
#include "game/music.h"
#include "game/particles.h"
#include "game/physics.h"
#include "game/pins.h"
#include "game/records.h"
#include "game/replay.h"
#include "game/scoring.h"
#include "game/transitions.h"
#include "host/errorlog.h"
#include "host/host.h"
#include "lib/printing.h"
#include "lib/resourceids.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "lib/screenapi.h"
#include "platform/camera.h"
#include "platform/frame.h"
#include "platform/input.h"
#include "platform/lighting.h"
#include "platform/render.h"
#include "platform/shaders.h"
#include "platform/sound.h"
#include "platform/streams.h"
#include "shell/globals.h"
#include "shell/overlaytag.h"
#include "shell/scenedraw.h"
#include "shell/settings.h"
#include "shell/upperlayers.h"

int gGameType = 0;
int gNumPlayers = 1;
int gCurrPlayer = 0;
int gGameOver = 0;
// The players shown per score page and the shot clock, before a game and at the start of each.
static const int kDefaultMaxPlayers = 4;
static const int kDefaultShotClock = 30000;
int gMaxPlayers = kDefaultMaxPlayers;
int gShotClock = kDefaultShotClock;
int errorOverlayPresent = 0;
int startSparesOverlay = 0;
int userCamera = 1;
int gHandleGameInvitation = 0;
int physicsGlobalsSet = 0;
int aborted = 0;
DS3_lights gHudLights = {};
OVERLAYTAG thePreviousOverlay = {};
int gameWasPaused = 0;
int idleTime = 0;

static int sheetsPrinted = 0;

// The game's sound effects (kGameSoundsFirst..kGameSoundsLast) are loaded for the length of a game.
// The lane objects: their texture group, the ball, shadows, pin, aim and oil models, the ball table.
static const int kLaneObjectsFirst = kLaneObjectTextures;
static const int kLaneObjectsLast = kOilTextureGroup;

// Screen result that sends the screen loop back to the front end after a game.
static const int kResultRestoreFrontEnd = 3;
static const unsigned kControllerRumbleFlag = 1;
static const unsigned kControllerGameFlag = 2;
static const int kLeftDeadZoneType = 1;
static const int kRightDeadZoneType = 2;
// The camera's near and far planes in a game, and the stereo strength of the lane scene.
static const float kCameraHither = 6.0f;
static const float kCameraYon = 150000.0f;
static const float kGameParallaxScale = 0.1f;

// The game camera's rates for a game (InitCamera sets the free camera's own).
static void SetGameCameraRates()
{
    cameraSpeed = 12.0f;
    cameraVerticalSpeed = 2.5f;
    cameraRotationRate = 1.0f;
    cameraPitchRate = 2.0f;
    cameraZoomRate = 6.0f;
}

// Every overlay comes off, each closed by its own handler. One that refuses to close is dropped
// all the same: nothing of a game may stay on the stack into the next.
static int ExitAllOverlays()
{
    for (int i = 0; i < upperLayers.overlayStackDepth && upperLayers.OverlayExists(); ++i)
        if (!upperLayers.OverlayExit()) break;
    if (!upperLayers.OverlayExists()) return 1;
    upperLayers.OverlayResetStack();
    return PrintError("game tear-down: an overlay refused to close");
}

// ---- Leaving the game for the menu ----

// The return to the menu runs as a fade through black: a start callback when it begins, the
// switch to the menu (asked each step until it reports done) once the screen is covered, and a
// completion callback once it is clear again, by then in the front end. The game only keeps
// whether it started one, so that nothing in it acts on the way out.
struct GameReturn {
    int active;
};
static GameReturn gameReturn = {};

// The attract game holds its last picture this many frames before going back.
static const int kAttractHoldFrames = 80;
static int wipeDelay = 0;

static int ResetAllPlayers()
{
    for (TITLE_PlayerInfoStruct& p : gPlayerInfo)
        if (!ResetPlayerInfo(&p)) return 0;
    return 1;
}

// The music and the ambience stop, the players are cleared and every overlay comes off.
static int LeaveForTheMenu()
{
    StopBackgroundMusic();
    StopBackgroundSound();
    quitGame = 1;
    if (!ResetAllPlayers()) return 0;
    ExitAllOverlays();
    return 1;
}

static int AttractStartCallback()
{
    wipeDelay = 0;
    StopBackgroundSound();
    return 1;
}

static int AttractToMenu()
{
    if (wipeDelay++ < kAttractHoldFrames) return 0;
    if (!LeaveForTheMenu()) return 0;
    gGameType = kGameAttract;  // so that the front end goes back to the title screen
    return 1;
}

// A press during the attract game: the ambience stops as the fade begins, and the game is left
// for the menu as soon as the screen is covered.
static int PressStartCallback()
{
    StopBackgroundSound();
    return 1;
}
static int PressToMenu() { return LeaveForTheMenu(); }

static int CompleteCallback() { return 1; }

static void StartGameReturn(int (*start)(), int (*toMenu)(), int (*complete)())
{
    gameReturn = {1};
    StartTransition(start, toMenu, complete, kTransitionFadeBlack);
}

int StartAttractGameEnd()
{
    StartGameReturn(AttractStartCallback, AttractToMenu, CompleteCallback);
    ExitAllOverlays();
    errorOverlayPresent = 0;
    return 1;
}

int GameReturnPending() { return gameReturn.active; }

int StartGameReturnTransition(int (*start)(), int (*toMenu)(), int (*complete)())
{
    StartGameReturn(start, toMenu, complete);
    return 1;
}

// ---- Computer bowlers ----

// The game's controls reach the computer bowlers through these.
static int SkipCurrentAIBowler() { return SkipAIBowler(&gPlayerInfo[gCurrPlayer]); }
static int AISkipUnderway() { return gSkipAI; }

// One frame of the computer bowler whose turn it is: the approach and the throw, the ball let go
// when the throw animation reaches the bowler's release frame. A paused game, or one on its way
// back to the menu, throws nothing.
static int UpdateCurrentAIBowler()
{
    if (gGamePaused || gameReturn.active) return 1;
    if (gCurrPlayer < 0 || gCurrPlayer >= kMaxPlayers) return 1;
    if (gPlayerInfo[gCurrPlayer].gameFinished) return 1;
    return UpdateAIBowler(&gPlayerInfo[gCurrPlayer]);
}

static void ConnectComputerBowlers()
{
    gameControlCalls.updateAIBowler = UpdateCurrentAIBowler;
    gameControlCalls.skipAIBowler = SkipCurrentAIBowler;
    gameControlCalls.skipUnderway = AISkipUnderway;
}

// ---- Set-up ----

// The light of the heads-up display: a dim warm ambient and one light falling from the upper
// right, (1, 1, -1) normalised.
static void FillHudLights()
{
    DS3_lights& l = gHudLights;
    l = {};
    l.ambient_red = l.ambient_green = 45.0f / 255.0f;
    l.ambient_blue = 40.0f / 255.0f;
    l.ambient_alpha = 1.0f;
    l.light1_red = l.light1_green = 105.0f / 255.0f;
    l.light1_blue = 100.0f / 255.0f;
    l.light1_x = l.light1_y = 0.57735f;
    l.light1_z = -0.57735f;
}

int InitObject(int group, DS3_model_tag** model)
{
    if (!model) return 0;
    const int count = NumResourcesInGroup(group);
    if (count <= 0) return PrintError("InitObject: group %d holds no model", group);
    void* handle = nullptr;
    if (!GetResourceHandle((group << 16) + count - 1, &handle) || !handle)
        return PrintError("InitObject: the model of group %d is not loaded", group);
    *model = static_cast<DS3_model_tag*>(handle);
    return 1;
}

// The game's sounds, its two effects channels and its music and ambience streams. Without sound
// services (a game run by a test) the game plays silently.
static int SetUpSound()
{
    if (!LoadResourceRange1x1(kGameSoundsFirst, kGameSoundsLast)) return PrintError("game set-up: no game sounds");
    ResetBackgroundMusic();
    if (!soundInitialized) return 1;
    if (!SoundAllocateMonoChannel(&gameSoundChannel) || !SoundAllocateMonoChannel(&gameSoundChannel2))
        return PrintError("game set-up: no sound channels for the game");
    if (!CreateStream(1, &gBackgroundMusicChannel) || !CreateStream(1, &gBackgroundSoundChannel))
        return PrintError("game set-up: no music streams");
    return 1;
}

// Stops every sound before the sounds themselves go.
static int DisposeSound()
{
    int ok = DeleteAllStreams();
    if (gameSoundChannel && !DeleteSoundChannel(&gameSoundChannel)) ok = 0;
    if (gameSoundChannel2 && !DeleteSoundChannel(&gameSoundChannel2)) ok = 0;
    gBackgroundMusicChannel = gBackgroundSoundChannel = nullptr;
    if (!DisposeResourceRange(kGameSoundsFirst, kGameSoundsLast))
        ok = PrintError("game tear-down: the game sounds stay loaded");
    return ok;
}

// The pictures of the players' balls (one member of kBallPictureGroup per ball index), which the
// heads-up display shows while a person sets up a throw, and the balls' properties.
static int BallPicture(const BallDataTag& ball) { return (kBallPictureGroup << 16) | ball.ballIndex; }

static int LoadPlayerBalls()
{
    if (!OpenResourceGroup(kBallPictureGroup)) return PrintError("game set-up: the ball pictures cannot be opened");
    for (int i = 0; i < gNumPlayers; ++i) {
        for (BallDataTag& ball : gPlayerInfo[i].ballData) {
            if (!ResourceLoaded(BallPicture(ball)) && !ReadResource(BallPicture(ball)))
                return PrintError("game set-up: the picture of ball %d cannot be loaded", int(ball.ballIndex));
            if (!ReadBallProperties(&ball))
                return PrintError("game set-up: ball %d of player %d cannot be read", int(ball.ballIndex), i);
        }
    }
    return 1;
}

// Closing the group frees the pictures read from it.
static int DisposePlayerBalls() { return ResourceLoaded(kBallPictureGroup) ? CloseResourceGroup(kBallPictureGroup) : 1; }

// The ball with the lane's bodies, the ten pins, and one bowler per player; only the bowler
// whose turn it is is shown.
static void SetUpControllers()
{
    for (joystickState& c : controllers) {
        if (gGameOptions.vibration)
            c.flags |= kControllerRumbleFlag;
        else
            c.flags &= ~kControllerRumbleFlag;
        c.leftAnalogDeadzoneType = kLeftDeadZoneType;
        c.rightAnalogDeadzoneType = kRightDeadZoneType;
    }
    for (int i = 0; i < kNumControllerStates && i < kMaxControllers; ++i) {
        controllers[i].leftAnalogDeadzoneThreshold = gControllerDeadzoneValue[i][0];
        controllers[i].rightAnalogDeadzoneThreshold = gControllerDeadzoneValue[i][1];
    }
}

// The first overlay of each game type: the mini-games their own, every other the score sheet.
static int ShowFirstOverlay()
{
    int ok = 1;
    switch (gGameType) {
    case kGamePinSelect: ok = upperLayers.StartDSPinSelectOverlay(); break;
    case kGameSpares:
        // The start of the first attempt is pushed after the first frame (startSparesOverlay);
        // under test mode it is pushed now, so that test mode's overlay can stand above it.
        if (gHostOptions.testMode || gTestModeRunning) {
            startSparesOverlay = 0;
            ok = upperLayers.StartDSSparesStartTurnOverlay();
        }
        break;
    case kGameBingo: ok = upperLayers.StartBingoCardOverlay(gCurrPlayer, 0); break;
    default: ok = upperLayers.StartDSScoreOverlay(); break;
    }
    return ok ? 1 : PrintError("game set-up: the first overlay cannot be shown");
}

int GameLoopSetup()
{
    if (gNumPlayers < 1 || gNumPlayers > kMaxPlayers)
        return PrintError("game set-up: %d players cannot play", gNumPlayers);

    // A game starts with no overlay up; anything left over belongs to nobody now.
    ExitAllOverlays();
    if (!upperLayers.LoadingScreenInit()) return 0;
    if (!CreatePhysicsWorld()) return PrintError("game set-up: no physics world");
    if (!InitializeActors(kActorPoolSize)) return PrintError("game set-up: no actor pool");
    if (!InitCamera(kCameraHither, kCameraYon)) return PrintError("game set-up: no camera");
    if (!ParticleSystemManagerCreate() || !ParticleSystemManagerLoadParticleSystemDefines())
        return PrintError("game set-up: the particle effects cannot be set up");
    FillHudLights();
    if (!SetUpSound()) return 0;
    if (!envOnly && !LoadPlayerBalls()) return 0;

    for (joystickState& c : controllers) c.flags &= ~kControllerGameFlag;

    gGameControls = 1;
    physicsGlobalsSet = 0;
    gCurrPlayer = 0;
    gMaxPlayers = kDefaultMaxPlayers;
    gShotClock = kDefaultShotClock;
    gGameOptions.drawOil = 0;
    errorOverlayPresent = 0;
    gGamePaused = 0;
    gPauseMenuActive = 0;
    gameReturn = {};
    sheetsPrinted = 0;
    ConnectComputerBowlers();
    ResetScoring();
    ResetMiniGames();
    if (gGameType == kGamePoker && !envOnly && (!SetUpPokerDeck() || !LoadCardPictures()))
        return PrintError("game set-up: no deck of cards");

    for (int i = 0; i < kMaxPlayers; ++i) {
        ResetPlayerInfo(&gPlayerInfo[i]);
        gPlayerInfo[i].controllerSlot = GetGameControllerAssignmentSlot(i);
    }

    SetGameCameraRates();
    testOptions.initialBallHeading = 0.0f;
    userCamera = 1;

    ReadControls(nullptr);
    SetUpControllers();
    if (gOverlayControllerIndex == -1) gOverlayControllerIndex = 0;
    gGameOver = 0;

    gChangeStage = gChangeStageTransition = 0;
    if (!ChangeArea(areaNum)) return PrintError("game set-up: alley %d cannot be loaded", areaNum);

    // Control mode 0 of the options is the stylus.
    SetControlMode(gGameOptions.controlMode == 0 ? kControlModeTouch : kControlModeButtons);

    // The lane objects (their textures first), then the bowlers: their archive and outfits, their
    // shadow and the animations they play.
    if (!envOnly && (!LoadResourceRange1x1(kLaneObjectsFirst, kLaneObjectsLast) || !InitBallModel() ||
                     !InitPinModel() || !InitAimModel()))
        return PrintError("game set-up: the lane's objects cannot be loaded");
    if (!envOnly && (!LoadCharacterResources() || !InitCharacters(1) || !LoadCharacterAnimations(gNumPlayers)))
        return PrintError("game set-up: the bowlers cannot be loaded");
    if (!envOnly && !CreateGameActors()) return PrintError("game set-up: the lane's actors cannot be made");
    if (!upperLayers.LoadingScreenClose()) return 0;

    startSparesOverlay = 0;
    if (gGameType == kGameSpares && !envOnly) {
        SelectSparesRoundPins(gPlayerInfo[gCurrPlayer].currFrame);
        startSparesOverlay = 1;
    }
    if (!envOnly) StartNewBall();
    if (envOnly) return 1;
    if (!ShowFirstOverlay()) return 0;
    // The developer's test mode (--test-mode) comes up over the first overlay, which takes over
    // again when the developer leaves test mode (START): beneath it, the game's overlays would keep
    // it covered. It is switched on here, once the alley has set the game's cameras up as for any
    // game, so that the free camera sets off from the game's view.
    if (gHostOptions.testMode) gTestModeRunning = 1;
    if (gTestModeRunning) {
        gOverlayControllerIndex = 0;
        if (!upperLayers.StartTestmodeOverlay()) return PrintError("game set-up: test mode cannot be started");
    }
    return 1;
}

// ---- One frame ----

// A button that acts on the merged input, as every button of the game does: let go this frame,
// alone.
static int NewlyPressed(unsigned button) { return unsigned(allInput.edges & ~allInput.buttons) == button; }

// The frame's record of the input's surroundings: the overlay on top (or none), whether the game
// was paused, and which controllers have a device behind them.
static void NoteInputState()
{
    if (IsTransitionActive()) return;
    for (int i = 0; i < kNumControllerStates && !errorOverlayPresent; ++i) {
        if (upperLayers.OverlayExists())
            upperLayers.OverlayGetHandlers(&thePreviousOverlay);
        else
            thePreviousOverlay.drawHandler = nullptr;
        gameWasPaused = gGamePaused;
        gValidControllerList[i] = controllers[i].controller != nullptr;
    }
}

// Any button held, or pressed or let go this frame, on the merged input.
static int AnyButtonActive() { return allInput.buttons != 0 || allInput.edges != 0; }

int HandleControls()
{
    NoteInputState();
    idleTime = 0;
    // After an abort, input waits until every button has been let go, so that the press that
    // aborted does not also act in the game.
    if (aborted) {
        if (AnyButtonActive()) return 1;
        aborted = 0;
    }
    // The attract game is watched, not played: START or A goes back to the menu.
    if (gGameType == kGameAttract && !gameReturn.active && (NewlyPressed(kButtonStart) || NewlyPressed(kButtonA))) {
        StartGameReturn(PressStartCallback, PressToMenu, CompleteCallback);
        ExitAllOverlays();
        errorOverlayPresent = 0;
        return 1;
    }
    if (upperLayers.OverlayExists()) return upperLayers.OverlayHandleInput();
    if (!gGameControls) return 1;
    return GameControls();
}

int UpdateGameLogic()
{
    if (!RunActorHandlers()) return 0;
    // Without a window the score sheets are printed once the game is over, before anything
    // (the way back to the menu) clears the players.
    if (gGameOver && !sheetsPrinted && gHostOptions.headless) {
        upperLayers.PrintScoreSheets(stdout);
        sheetsPrinted = 1;
    }
    // The camera glides, or follows the ball once it has left the hand.
    if (gTransitionGameCamera)
        TransitionGameCamera();
    else if (bowlingBall && bowlingBall->team && !TrackBall(bowlingBall))
        return 0;
    // The scene is drawn from game camera 0, unless test mode flies its own camera.
    if (!gTestModeRunning) CopyGameCameraToRenderCamera(gameCameras[0]);
    RenderSetCameraParallaxScale(kGameParallaxScale);
    ComposeCameraXform();
    if (!ComputeActorScreenPositions()) return 0;
    if (!UpdateTransition()) return 0;
    if (!ParticleSystemManagerUpdate()) return 0;

    // A change of alley runs once the transition that covers it has had its frame.
    if (gChangeStageTransition) {
        gChangeStageTransition = 0;
        gChangeStage = 1;
    }
    if (gChangeStage) {
        if (!ChangeArea(nextArea)) return 0;
        gChangeStage = 0;
        gGameOver = 0;
    }

    if (!gGamePaused && physics) physics->Move();
    // The ball's run through the pins is recorded for the replay.
    if (!gGamePaused && !IsReplayActive() && bowlingBall && bowlingBall->team &&
        bowlingBall->Ylocation > kReplayRecordY)
        StoreReplayData();
    if (!upperLayers.OverlayUpdate()) return 0;

    if (startSparesOverlay) {
        startSparesOverlay = 0;
        if (!upperLayers.StartDSSparesStartTurnOverlay()) return 0;
    }

    // A game that is over with nothing left to show it, and no way back under way, is left:
    // nobody could answer a question about it.
    if (gGameOver && !upperLayers.OverlayExists() && !gameReturn.active) quitGame = 1;
    return 1;
}

// ---- Tear-down ----

int DisposeGame()
{
    upperLayers.SetOverlayControllerNum(-1);
    int ok = ExitAllOverlays();
    ForgetReplay();
    if (!DisposeSound()) ok = 0;
    if (!DisposeActors()) ok = PrintError("game tear-down: the actors could not be disposed");
    if (!DisposeParticleSystemDefines()) ok = PrintError("game tear-down: the particle definitions stay loaded");
    if (!ParticleSystemManagerDestroy()) ok = PrintError("game tear-down: the particle systems stay");
    // The bowlers' outfits, archive, animations and shadow, then the lane objects, now that no
    // actor uses them.
    if (!DisposeCharacters()) ok = PrintError("game tear-down: the bowlers' outfits stay loaded");
    if (!DisposeCharacterAnimations()) ok = PrintError("game tear-down: the bowlers' animations stay loaded");
    DisposeBallModel();
    DisposeAimModel();
    DisposePinModel();
    DisposePokerDeck();  // a poker game's deck, when there is one
    if (!DisposeCardPictures()) ok = PrintError("game tear-down: the card faces stay loaded");
    if (!DisposeResourceRange(kLaneObjectsFirst, kLaneObjectsLast)) ok = PrintError("game tear-down: the lane's objects stay loaded");
    // The ball table that set-up read the players' balls from, and the balls' pictures.
    if (ResourceLoaded(kBallPropertyTable) && !DisposeResource(kBallPropertyTable))
        ok = PrintError("game tear-down: the ball table stays loaded");
    if (!DisposePlayerBalls()) ok = PrintError("game tear-down: the ball pictures stay loaded");
    // The pin records and the players' bowlers pointed into the pool just freed.
    std::memset(pins, 0, sizeof pins);
    for (TITLE_PlayerInfoStruct& p : gPlayerInfo) p.theActor = nullptr;
    ResetGameControllers();
    InitGameControllers();
    return ok;
}

static int TearDownGame()
{
    int ok = DisposePhysicsWorld();
    SetChannelVolumeFade(nullptr, 0, 0);
    gameReturn = {};
    if (!upperLayers.DisposeTestMode()) ok = 0;
    if (!DisposeEnvSpecificObjects()) ok = 0;
    gChangeStage = gChangeStageTransition = 0;
    if (!DisposeArea()) ok = 0;
    if (!DisposeGame()) ok = 0;
    if (!upperLayers.LoadingScreenClose()) ok = 0;
    DeleteAllSoundChannels();
    return ok;
}

int PauseGame(int on)
{
    gGamePaused = on != 0;
    return 1;
}

int GameLoop()
{
    const long faultsBefore = HostErrorsReported();
    int ok = GameLoopSetup();
    // A set-up that the order to close stopped has not failed. The first fault on the way says
    // what was wrong (an archive refused names itself and why), also where only one line is shown.
    if (!ok && !done) {
        const std::string first = HostErrorReported(faultsBefore);
        if (first.empty())
            PrintError("game loop: game set-up failed");
        else
            PrintError("game loop: game set-up failed (%s)", first.c_str());
    }

    while (ok && (testOptions.testModeActive || !(quitGame || done || gHandleGameInvitation))) {
        if (!ReadControls(nullptr) || !HandleControls() || !UpdateGameLogic()) {
            ok = PrintError("game loop: a game frame failed");
            break;
        }
        if (done) break;
        if (!DrawGameScreen()) {
            // A frame refused because the game is closing is no fault: test mode's model change
            // presents a frame of its own, which can be the last the frame limit allows.
            if (!done) ok = PrintError("game loop: a game frame could not be drawn");
            break;
        }
    }

    if (!TearDownGame()) ok = 0;
    if (!ok || done) return ok;
    if (!exitGame) ScreenSetResult(kResultRestoreFrontEnd);
    quitGame = 0;
    return 1;
}

int StopBackgroundSound() { return gBackgroundSoundChannel ? StopStream(gBackgroundSoundChannel) : 1; }
