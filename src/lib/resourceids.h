// The numbers that the game and the game data builder (tools/mkrom) must agree on: the types of
// the archives' resources and the ids at which the game asks for its fonts, images, models and
// sounds. Both sides include this header, so that each number is written once; a test checks that
// the built game data holds every id listed here.
#pragma once

#include <cstdint>

// A rectangle of a picture, in the pixels of the screen or picture that a comment names, where the
// game draws a text that belongs inside it; the builder paints it there.
struct PictureBox {
    int x, y, w, h;
};

// ---- Resource types ----
constexpr int kResourceTypeAnimation = 7;
constexpr int16_t kResourceTypeGroup = 19;
constexpr int kResourceTypeFontInfo = 24;
constexpr int kResourceTypeLevel = 42;
// Collision models: set up by the game (game/collision.cpp), which registers its initialiser.
constexpr int16_t kResourceTypeCollisionModel = 44;
constexpr int kResourceTypeObjectAnimation = 86;
constexpr int kResourceTypeBitmap = 125;
constexpr int kResourceTypeModel = 126;
constexpr int16_t kResourceTypeSound = 127;

// ---- Particle effects ----
// The game's particle definitions in pairs: member 2k is definition k (596 bytes), 2k + 1 its
// bitmap.
constexpr int kParticleDefinitionGroup = 3001;
// The stored definitions test mode loads, and the particle bitmaps it picks from.
constexpr int kParticleStoredDefinitionGroup = 3010;
constexpr int kParticleBitmapGroup = 3011;
// Test mode's markers of particle domains and control points: their texture group, a handle at a
// centre (a cross of unit arms) and the outlines of a box and a sphere, both of radius 1.
constexpr int kParticleToolTextures = 6400;
constexpr int kParticleCenterToolModel = 6401;
constexpr int kParticleBoxToolModel = 6402;
constexpr int kParticleSphereToolModel = 6403;

// ---- The UI framework's own archive (Resource/BasicUiRez.rez, ids 1-7) ----
// Its logo, and its font (information, then the glyph sheet) for each display size: the standard
// display uses 6 and 7, the larger ones 4 and 5, and 2 and 3.
constexpr int kUiBaseLogo = 1;
constexpr int kUiBaseFontInfoLarge = 2;
constexpr int kUiBaseFontLarge = 3;
constexpr int kUiBaseFontInfoMedium = 4;
constexpr int kUiBaseFontMedium = 5;
constexpr int kUiBaseFontInfo = 6;
constexpr int kUiBaseFont = 7;

// ---- Fonts (bitmaps of type 125, each naming its font information) ----
// Every font and its information lie in [kFontsFirst, kFontsLast], loaded at start-up.
constexpr int kFontsFirst = 3050;
constexpr int kFontsLast = 3084;
constexpr int kGameFontDefault = 3052;  // what text is drawn in unless a caller selects another
constexpr int kGameFontSmallTotals = 3057;  // small score rows: totals
constexpr int kGameFontTotals = 3059;  // running totals, the hook badge
constexpr int kGameFontMarks = 3061;  // ball marks of the large sheet
constexpr int kGameFontSmallMarks = 3063;  // small score rows: marks
constexpr int kGameFontNumbers = 3065;  // numbers: speed, round, bingo
constexpr int kGameFontBingoMarked = 3066;  // marked bingo numbers
constexpr int kGameFontGoldNumbers = 3068;  // the spares score
constexpr int kGameFontNames = 3070;  // player names and lines
constexpr int kGameFontLargeGold = 3071;  // "Game Over"
constexpr int kGameFontSmallNumbers = 3073;  // speed tenths
constexpr int kGameFontBusy = 3075;  // busy messages
constexpr int kGameFontHeadings = 3076;  // table headings
constexpr int kGameFontBody = 3077;  // body text and button labels
constexpr int kGameFontTitles = 3079;  // titles
constexpr int kGameFontHints = 3080;  // hints and name plates
constexpr int kGameFontSmallNames = 3083;  // names in the small rows

// ---- The UI framework's own resources, loaded by the descriptions that use them ----
constexpr int kUiKeyboardFontInfo = 2219;
constexpr int kUiKeyboardFont = 2220;  // the on-screen keyboard's labels and typed text
constexpr int kUiDemoPanel = 2230;     // a panel the test screen loads while it runs

// ---- 2D images ----
// The overlay images lie in [kOverlayImagesFirst, kOverlayImagesLast], loaded at start-up.
constexpr int kOverlayImagesFirst = 3200;
constexpr int kOverlayImagesLast = 3299;
constexpr int kSplashImage = 3320;  // 320 x 240, shown at start-up

// The overlay images, each also at +86 for the larger display variant (GetOverlayRSID).
constexpr int kImageGlyphSheet = 3207;                // the overlays' glyph sheet
constexpr int kImageBusyFirst = 3208;                 // the four frames of the busy sign, to kImageBusyLast
constexpr int kImageBusyLast = 3211;
constexpr int kImagePinDiagram = 3212;
constexpr int kImagePinMarker = 3214;
constexpr int kImageSmallStrike = 3220;
constexpr int kImageSmallSpare = 3221;
constexpr int kImageLargeStrike = 3222;
constexpr int kImageLargeSpare = 3223;
// The poker result's small card faces on one sheet: card n (suit * 13 + rank, ace first) in the
// kPokerCardW x kPokerCardH cell at column n % 13, row n / 13.
constexpr int kImagePokerCards = 3224;
constexpr int kPokerCardW = 20, kPokerCardH = 26;
constexpr int kImageSpeedPlate = 3225;
constexpr int kImageBallFrame = 3226;
constexpr int kImageHookBadge = 3228;
constexpr int kImageBingoCell = 3227;  // one cell of the card, drawn under each number
constexpr int kImageBingoCard = 3229;  // the card the 5 x 5 cells stand on, evenly spaced
constexpr int kImageLastBallFrame = 3230;
constexpr int kImageLastBallDigits = 3231;            // the digits 1 to 9, one image each
constexpr int kImageSpareBanner = 3240;
constexpr int kImageStrikeBanner = 3241;
constexpr int kImageMissBanners = 3242;               // five banners of a ball that left pins
constexpr int kImageSparesPanel = 3254;
// The panel's well that the spares score stands in, from the panel's top left corner: the score,
// right-aligned 100 pixels from that corner, fits it with five digits.
constexpr PictureBox kSparesPanelWell = {36, 4, 72, 26};
constexpr int kImageNamePlate = 3257;
constexpr int kImageVideoFrame = 3259;
// The celebration clip's frame: a border round the picture and, along its bottom inside the
// border, a bar that holds "Skip Replay" (in pixels of its 241 x 203 picture).
constexpr int kClipFrameBorder = 6, kClipFrameBarH = 26;
constexpr int kImageScoreBackground = 3260;
constexpr int kImageScoreBand = 3261;                 // also the shot set-up's header
constexpr int kImageScoreNamePlate = 3262;
constexpr int kImageLargeSheet = 3263;
constexpr int kImageSmallRow = 3264;
constexpr int kImageKnobButtons = 3265;               // the slider knob with the buttons
constexpr int kImageFrameHighlight = 3266;
constexpr int kImagePlayerHint = 3267;
constexpr int kImagePageHint = 3268;
constexpr int kImageKnobTouch = 3269;                 // the slider knob with the stylus
constexpr int kImageStartTurnButtons = 3270;          // the start-of-turn background with the buttons
constexpr int kImageStartTurnTouch = 3271;            // and with the stylus
// The set-up screen's buttons in both backgrounds (screen pixels): the ball row, wide enough for
// its text, above the oil row and the BOWL button; the back button's well below them.
constexpr PictureBox kStartTurnBallRow = {6, 44, 296, 55};
constexpr PictureBox kStartTurnOilRow = {6, 101, 160, 63};
constexpr PictureBox kStartTurnBowl = {175, 101, 127, 127};
constexpr PictureBox kStartTurnBack = {10, 170, 61, 67};
constexpr int kImagePositionBackground = 3272;
constexpr int kImagePositionMarker = 3273;
constexpr int kImageTouchPositionBackground = 3274;
// The prompt wells of the overlays' backgrounds (screen pixels), each round a button's glyph and
// its word: a touch anywhere in one presses it. The position steps' footers (both controls):
constexpr PictureBox kStepBackWell = {24, 170, 61, 67};
constexpr PictureBox kStepNextWell = {219, 170, 61, 67};
constexpr int kImageTouchPositionArrow = 3275;
constexpr int kImageTouchPositionLane = 3276;
constexpr int kImageAngleBackground = 3277;
constexpr PictureBox kAngleBackWell = {5, 4, 61, 72};
constexpr PictureBox kAngleNextWell = {253, 4, 61, 72};
constexpr int kImageAngleArrow = 3278;
constexpr int kImageAngleMarker = 3279;
constexpr int kImagePowerBackground = 3280;
constexpr PictureBox kPowerNextWell = {253, 165, 61, 72};
constexpr int kImagePowerMeter = 3281;
constexpr int kImageHookBackground = 3282;
constexpr int kImageHookBall = 3283;
constexpr int kImageHookArc = 3284;
// The arc's painted labels (in pixels of its picture, drawn at (17, 77)): each under an end of the
// arc, clear of the stops the ball marker rides at.
constexpr PictureBox kHookArcLeftLabel = {0, 46, 34, 12};
constexpr PictureBox kHookArcRightLabel = {250, 46, 40, 12};
constexpr int kImageHookPointer = 3285;
constexpr int kImageTouchReleaseBackground = 3286;
constexpr PictureBox kReleaseBackWell = {10, 170, 61, 67};
constexpr int kImageTouchReleaseMeter = 3287;
constexpr int kImageTouchReleaseBall = 3288;
constexpr int kImageMessageBackground = 3289;
// The panel on the message background: its inside, within a 2-pixel edge, and the radius of its
// inside's rounded corners. What is drawn on it stays there, clear of the corners.
constexpr int kMessagePanelLeft = 8, kMessagePanelTop = 8, kMessagePanelRight = 310, kMessagePanelBottom = 230;
constexpr int kMessagePanelRadius = 14;
constexpr int kImageReplayPanel = 3290;
// The replay panel's skip button: where its picture stands and where a touch skips the replay.
// Its caption band (from kReplaySkipCaptionY, kReplaySkipCaptionH high) holds "Skip Replay".
constexpr int kReplaySkipX = 180, kReplaySkipY = 111, kReplaySkipSize = 102;
constexpr int kReplaySkipCaptionY = 178, kReplaySkipCaptionH = 28;
// The well a mini-game's button prompt stands in, drawn with the prompt (none stands empty while
// the computer bowls); the whole well is the button. One picture of kPromptWellW x kPromptWellH.
constexpr int kImagePromptWell = 3294;
constexpr int kPromptWellW = 64, kPromptWellH = 75;
constexpr int kImageSparesBackground = 3291;
constexpr PictureBox kSparesSetupWell = {11, 156, kPromptWellW, kPromptWellH};
constexpr PictureBox kSparesNextWell = {243, 156, kPromptWellW, kPromptWellH};
constexpr int kImageTitlePlate = 3292;
constexpr int kImageBingoBackground = 3293;  // the bingo card's screen: title band and footer
constexpr PictureBox kBingoNextWell = {243, 156, kPromptWellW, kPromptWellH};
constexpr int kImagePin = 3295;
constexpr int kImagePinSelectBackground = 3296;
constexpr PictureBox kPinSelectNextWell = {4, 164, kPromptWellW, kPromptWellH};
constexpr PictureBox kPinSelectToggleWell = {219, 164, kPromptWellW, kPromptWellH};
constexpr int kImagePinHighlight = 3297;
constexpr int kImageNoHomeIcon = 3298;

// ---- The front end's images (bitmaps of type 125, lower screen unless said) ----
// Each is made for language 0; the game asks for id + gLanguage (+ 25 x gHiDef).
constexpr int kLoadingImageUnscaled = 3300;  // the loading screen when the 2D scale factor is 0
constexpr int kMenuBackgroundImage = 3305;   // the title's tab group and the loading screen
constexpr int kTitleImage = 3310;            // the title screen, 320 x 240
constexpr int kLoadingBitmap = 3315;         // the pulsing sign in the loading screen's corner
constexpr int kTitleUpperImage = 3316;       // 400 x 240: the upper screen while the title waits
// The menus' art, loaded by the main menu's description (content/ui/ui360.xml names them).
constexpr int kMenuArtFirst = 3330;
constexpr int kMenuUpperBackdrop = 3330;     // 400 x 240: the upper screen behind every menu
constexpr int kMenuLowerBackdrop = 3331;     // 320 x 240: the lower screen behind every menu
constexpr int kMenuButtonWide = 3332;        // 200 x 32: a menu entry
constexpr int kMenuButtonHighlight = 3333;   // 200 x 32: drawn over the selected entry
constexpr int kMenuButtonBack = 3334;        // 72 x 28: the way back, lower left
constexpr int kMenuButtonSmall = 3335;       // 96 x 28: short choices (-, +, pages)
constexpr int kMenuIconFirst = 3336;         // 48 x 48 icons: quick play, mini-games, practice,
constexpr int kMenuIconLast = 3341;          //   options, how to play, credits
constexpr int kTutorialPageFirst = 3342;     // 200 x 120: the tutorial pages, five per book
constexpr int kTutorialPageLast = 3351;
constexpr int kMenuSelectionFrame = 3352;    // 320 x 240 sizable frame: the pad's selection
constexpr int kMenuArrowUp = 3353;           // 40 x 70: a list's page-up button
constexpr int kMenuArrowDown = 3354;         // 40 x 70: a list's page-down button
constexpr int kMenuArtLast = 3354;
// 24 x 24 status icons beside career items and events, in the order of the database reference's
// status icons: locked, unlocked, owned, won, third, second, first place.
constexpr int kMenuStatusIconFirst = 3360;
constexpr int kMenuStatusIconLast = 3366;

// ---- The menu widgets' images (tools/mkrom/content_menuwidgets.cpp) ----
// All lie in [kUiWidgetImagesFirst, kUiWidgetImagesLast]; a UI description loads the range through
// its resource set. They stand clear of the overlay images and of their larger variant (up to
// 3384). Sizes are in content/README.md.
constexpr int kUiWidgetImagesFirst = 3400;
constexpr int kUiButtonFrame = 3400;             // 160 x 24; drawn scaled to a button's box
constexpr int kUiButtonFrameHighlighted = 3401;
constexpr int kUiButtonFramePressed = 3402;
constexpr int kUiButtonFrameDisabled = 3403;
constexpr int kUiButtonHighlight = 3404;         // 160 x 24 glow over the selected button
constexpr int kUiIconLocked = 3405;              // the status icons, 16 x 16, in the order of a
constexpr int kUiIconUnlocked = 3406;            // status reference's icon set
constexpr int kUiIconOwned = 3407;
constexpr int kUiIconWon = 3408;
constexpr int kUiIconThird = 3409;
constexpr int kUiIconSecond = 3410;
constexpr int kUiIconFirst = 3411;
constexpr int kUiCursor = 3412;                  // 32 x 32 sticky cursor, free and pressing
constexpr int kUiCursorPressed = 3413;
constexpr int kUiCursorFiller = 3414;            // 32 x 32, one step of the hold progress
constexpr int kUiDialogPanel = 3415;             // 320 x 240 sizable frame, 16-pixel corners
constexpr int kUiDialogFlourish = 3416;          // 200 x 24 title band
constexpr int kUiStickyAnswerYes = 3417;         // 48 x 48 round answers of a sticky dialog
constexpr int kUiStickyAnswerNo = 3418;
constexpr int kUiStickyRound = 3419;             // 56 x 56 round sticky button
constexpr int kUiHintTapGroup = 3420;            // group: four 32 x 32 frames of a tapping stylus
constexpr int kUiWidgetImagesLast = 3420;

// ---- The lane's objects: models, their textures and the ball table ----
// All of them lie in [kLaneObjectTextures, kOilTextureGroup], loaded for each game.
constexpr int kLaneObjectTextures = 5000;  // group: the textures of the models below
constexpr int kBallModel = 5001;
constexpr int kBallShadowModel = 5002;
constexpr int kBallReflTopModel = 5003;
constexpr int kBallReflBotModel = 5004;
constexpr int kCharacterShadowModel = 5005;  // the shadow under each bowler
constexpr int kPinModel = 5006;
constexpr int kBumperModel = 5007;
constexpr int kAimModel = 5009;
// 5010-5013: the aim position marks left and right, then the aim angle marks left and right.
constexpr int kAimPosLModel = 5010;
constexpr int kAimPosRModel = 5011;
constexpr int kAimAngleLModel = 5012;
constexpr int kAimAngleRModel = 5013;
constexpr int kOilModel = 5014;
constexpr int kBallPropertyTable = 5015;  // one BallProperties row per ball index
// Member (oil pattern - 1) is the texture the oil model takes for that pattern.
constexpr int kOilTextureGroup = 5016;
// Member (ball index + 2) is the texture the ball model takes for that ball; members 0 and 1
// repeat ball 0's.
constexpr int kBallTextureGroup = 901;
// Member (ball index) is the ball's picture for the screens (64 x 64 with alpha).
constexpr int kBallPictureGroup = 3322;
// Member (card number: suit * 13 + rank, ace first) is the card's face (64 x 64 with alpha), read
// for the length of a poker game.
constexpr int kCardPictureGroup = 3321;
constexpr int kNumBallLooks = 32;
// The balls (their looks and the ball property table) run coverstock by coverstock, from plastic
// to particle, each in this many weights from the lightest.
constexpr int kBallWeightsPerCoverstock = 8;

// ---- Sounds (type 127) ----
// The shared sounds lie in [kGameSoundsFirst, kGameSoundsLast], loaded as one range for a game;
// the music after them is streamed.
constexpr int kGameSoundsFirst = 9000;
constexpr int kGameSoundsLast = 9017;
constexpr int kSoundMenuMove = 9000;
constexpr int kSoundMenuSelect = 9001;
constexpr int kSoundChime = 9002;  // overlays and messages
constexpr int kSoundMenuBack = 9003;
constexpr int kSoundGutter = 9004;
constexpr int kSoundOverlayPop = 9005;
constexpr int kMenuMusic = 9007;
constexpr int kSoundBallLands = 9008;
constexpr int kSoundBallRolls = 9009;
constexpr int kSoundPinsLight = 9010;
constexpr int kSoundPinsSide = 9011;
constexpr int kSoundPinsMedium = 9012;
constexpr int kSoundPinsHeavy = 9013;
constexpr int kSoundPinsPocket = 9014;
constexpr int kSoundStrikeFast = 9015;
constexpr int kSoundStrikeSlow = 9016;
// An alley's music is kAreaMusicBase + its song number; 9019 the default song, 9020 and 9021 the
// songs of the alleys.
constexpr int kAreaMusicBase = 9018;
constexpr int kDefaultSong = 9019;
constexpr int kFirstSong = 9020;
