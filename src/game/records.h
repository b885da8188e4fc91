// The records the whole game shares: the eight player records, the game options, the test-mode
// state with the shot of every throw, and the game's random numbers.
#pragma once

#include <cstdint>

typedef uint8_t u8;

struct actor_tag;
struct PARTICLESYSTEMINFOTAG;  // a particle system definition
struct TestItem;               // one line of a test-mode menu

constexpr int kMaxPlayers = 8;
constexpr int kBallsPerPlayer = 3;
constexpr int kFramesPerGame = 10;
constexpr int kBallScores = 21;      // two balls a frame, three in the tenth
constexpr int kBallsPerFrame = 3;
constexpr int kSparesRounds = 30;
constexpr int kBingoSize = 5;        // the bingo card is 5 x 5
constexpr int kBingoFreeCell = 255;  // the number of the free centre cell
constexpr int kMaxHandCards = 7;

// A bowler's ball.
struct BallDataTag {
    u8 ballIndex;  // index in the ball resources and the ball property table
    u8 accuracyMod;
    u8 powerMod;
    u8 hookMod;
    float mass;
    float friction;
    float gravity;  // stored negative
};

// A bowler's profile, filled by the front end.
struct PlayerDataTag {
    char firstName[20];
    char lastName[28];
    char nickName[17];
    u8 weight;
    u8 height;
    u8 birthMonth;
    u8 birthDay;
    u8 birthYear;
    u8 throwPower;  // ratings 0..100
    u8 throwAccuracy;
    u8 throwHookMin;
    u8 throwHookMax;
    u8 throwPowerMod;  // additions to the ratings
    u8 throwAccuracyMod;
    u8 throwHookMod;
    int throwAverage;  // a computer bowler's average score and its spread
    int throwVariance;

    // Texture swaps of the bowler's outfit: source diffuse, normal and specular maps and the
    // diffuse map they replace.
    int bodyRSIDTextureG;
    int shoesRSIDSrcTextureD, shoesRSIDSrcTextureN, shoesRSIDSrcTextureS, shoesRSIDDstTextureD;
    int pantsRSIDSrcTextureD, pantsRSIDSrcTextureN, pantsRSIDSrcTextureS, pantsRSIDDstTextureD;
    int shirtRSIDSrcTextureD, shirtRSIDSrcTextureN, shirtRSIDSrcTextureS, shirtRSIDDstTextureD;
    int hatRSIDSrcTextureD, hatRSIDSrcTextureN, hatRSIDSrcTextureS, hatRSIDDstTextureD;
    int glassesRSIDSrcTextureD, glassesRSIDSrcTextureN, glassesRSIDSrcTextureS, glassesRSIDDstTextureD;
    int glovesRSIDSrcTextureD, glovesRSIDSrcTextureN, glovesRSIDSrcTextureS, glovesRSIDDstTextureD;
    int ballRSIDSrcTextureD, ballRSIDSrcTextureN, ballRSIDSrcTextureS;
    int ballRSIDDstTextureD[kBallsPerPlayer];

    // Resource ids of the bowler's parts; bodyMeshRSID also picks the release frame of the throw.
    int ballMeshRSID_R;
    int ballMeshRSID_L;
    int bodyMeshRSID;
    int legsMeshRSID;
    int socksMeshRSID;
    int shoesMeshRSID;
    int pantsMeshRSID;
    int shirtMeshRSID;
    int hatMeshRSID;
    int glassesMeshRSID;
    int glovesMeshRSID;
    int hairTextureRSID;
    int hairMeshRSID;

    int hairStart;
    int hairEnd;
    u8 voRSIDOffset;
    u8 bioIndex;
    int ikRig;
};

// One player of the current game.
struct TITLE_PlayerInfoStruct {
    int controllerSlot;   // controller state that drives the player, -1 for the merged input
    int suspendControls;  // non-zero while the player's controls are suspended
    int leftHanded;
    actor_tag* theActor;  // the player's bowler
    PlayerDataTag playerData;
    BallDataTag ballData[kBallsPerPlayer];
    float throw1X;  // first ball of the frame, offered again for the next ball
    float throw1BallHeading;
    int laneNum;
    int ballSelected;  // 0..2
    int bumpers;       // player 0's is the game's bumper switch
    float startY;

    // Ten-pin scoring.
    int currFrame;
    int currFrameBallIndex;
    int ballsThrown;
    int ballScore[kBallScores];
    int frameScore[kFramesPerGame];
    int totalScoreInFrame[kFramesPerGame];
    int lastBallResult;
    int framePinCount[kFramesPerGame][kBallsPerFrame];
    int frameMark[kFramesPerGame];
    int totalScore;

    // Spares challenge.
    int miniBallScore[kSparesRounds];
    int miniSparesConverted;

    // Bingo: the card's numbers and its marks, row by row.
    int bingoScores[kBingoSize][kBingoSize];
    int bingoMarks[kBingoSize][kBingoSize];

    // Poker: the hand and its value.
    int cards[kMaxHandCards];
    int numCards;
    int handVal;

    int strikesInRow;
    int turkey;
    int sixBagger;
    int gameFinished;
    int winner;  // set by bingo scoring
};

// The game options, one byte each.
struct TITLE_GameOptionsStruct {
    u8 vibration;
    u8 soundFXVolume;
    u8 soundMusicVolume;
    u8 soundCommentaryVolume;
    u8 soundChatterVolume;  // also the volume of the strike and spare videos
    u8 soundAmbientVolume;
    u8 difficulty;
    u8 cameraPosition;
    u8 drawControls;
    u8 drawOil;  // show the oil pattern
    u8 drawTriggerControl;
    u8 oilPattern;  // 1..9
    u8 language;
    u8 fog;
    u8 controlMode;  // 0 touch controls, anything else the buttons
    u8 pad;
};
static_assert(sizeof(TITLE_GameOptionsStruct) == 16, "the game options are 16 bytes");

// Test-mode state, and the shot fields that every throw passes through.
struct TestOptions {
    actor_tag* testActor;
    int modelNum;
    int animationRunning;
    float animationFrameRatio;
    float animationPercentage;
    PARTICLESYSTEMINFOTAG* particleSystemInfo;
    int numParticleSystems;
    int particleSystemNum;
    int numParticleBitmaps;
    int bitmapNum;
    int numAnimationRSIDs;
    int animationRSIDs[64];
    int currentControlPoint;
    int domainCoordsType;
    int controlPointCenterActorPresent[10];
    actor_tag* centerToolActor[10];
    int containerCenterActorPresent;
    actor_tag* containerCenterToolActor;
    int generatorCenterActorPresent;
    actor_tag* genCenterToolActor;

    // The shot: written by the shot overlays for each human throw, launched by the ball.
    float initialBallVel;
    float initialBallHeading;
    float initialBallRotx;
    float initialBallRoty;
    float initialBallXangle;

    int testModeActive;  // while non-zero the game loop does not end
    TestItem* curMenu;
    TestItem* previousMenu;
    int curItemNum;
};

// A shot computed for a computer bowler.
struct ShotParams_tag {
    float vel;
    float rotX;
    float rotY;
    float xAngle;
    float heading;
    float ReleaseX;
    float AimX;
    float Power;
    float Accuracy;
    float Spin;
};

extern TITLE_PlayerInfoStruct gPlayerInfo[kMaxPlayers];
extern TITLE_GameOptionsStruct gGameOptions;
extern TestOptions testOptions;
extern int gHilitedBall;  // the highlighted ball choice
extern int gTRUBall;
// The bingo card every player starts a game with; kBingoFreeCell marks the free centre.
extern const int bingoScorecard1[kBingoSize][kBingoSize];

// Clears a player record for a new game; the profile, balls, controller, hand, lane and actor stay.
// 0 for a null record.
int ResetPlayerInfo(TITLE_PlayerInfoStruct* p);
// The default options and shot, a reseeded random sequence, no highlighted ball. Always 1.
int InitOptions();
// Restarts the random sequence from its fixed seed. Always 1.
int SeedRandom();
// A random whole number from lo to hi, both included (lo when hi <= lo).
int GetRandomInt(int lo, int hi);
// lo + (hi - lo) * r with r in [0, 1) from the runtime library's generator; 0 when lo > hi.
float GetRandomFloat(float lo, float hi);
