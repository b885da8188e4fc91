// What the shot set-up overlays share: the player and bowler whose throw is being set up, the
// band the ball may be placed in and the walk across it, the bowler's ratings turned into the
// shares the steps use, the approach and delivery, the hook's spin and the throw's hand-over to
// the ball, the letting go of the ball at the release frame, the slider knob, the click, the
// buttons that hand over from step to step and the drawing of overlay images and texts.
//
// Lane units: world units, 24 to the foot; x across the lane with 0 on its centre line.
#pragma once

#include <cstdint>

struct TITLE_PlayerInfoStruct;
struct TouchButton_tag;
struct actor_tag;

// The click every step plays when it is left, the font of labels and of titles.
constexpr int kShotClickSound = 0x232a;
constexpr int kShotBodyFont = 0xc05;
constexpr int kShotTitleFont = 0xc07;
constexpr int kShotHintFont = 0xc08;
// The fastest a ball is thrown (feet per second) and the spin of a full hook at that speed
// (degrees per second about the ball's vertical axis).
constexpr float kShotFullHookSpeed = 28.0f;
constexpr float kShotFullHookSpin = -1750.0f;
// How far a step of the circle pad (or d-pad) walks the bowler each frame, and the row of the
// slider knob on the lower screen.
constexpr float kShotWalkStep = 1.08f;
constexpr int kShotKnobY = 145;
// The row of the labels under the steps' bottom button glyphs. The glyphs are 50 pixels tall,
// centred on a line of text at 188, so they reach down to 222: the labels stand there, three rows
// lower than the layout drawn for a smaller font, so that they do not cut into the glyphs.
constexpr int kShotLabelY = 222;
// A slider knob whose image is missing is laid out with this size (the image draws nothing).
constexpr int kShotFallbackKnobSize = 40;

// The player whose turn it is, or null when gCurrPlayer is not a player.
TITLE_PlayerInfoStruct* ShotPlayer();
// That player's bowler, or null.
actor_tag* ShotBowler();
// Half the width of the band the ball may stand in across the approach: 45, or 35 while player
// 0 (whoever bowls) has the bumpers up.
float ShotBandHalfWidth();
// The bowler's hand offset d: bowler x - d is the ball's x in the hand. 0 without a bowler.
float ShotHandOffset();
float ShotBowlerX();
// Moves the bowler across the approach (logical and drawn place together).
void ShotSetBowlerX(float x);
// The ball's x across the lane; 0 without a ball.
float ShotBallX();

// min(1, (accuracy + its addition) / 100) of the current player: 1 for a perfect bowler.
float ShotAccuracyShare();
// min(1, (maximum hook + its addition + the selected ball's hook) / 100) of the current player.
float ShotHookShare();
// Side spin in degrees per second for a throw at vel feet per second with the hook factor hook
// (-1 full left .. 1 full right) and the bowler's hook share: a full hook at full speed with a
// full share spins 1750; a hook to the right spins positive.
float ShotHookSpin(float vel, float hook, float share);
// The frame of the throw at which the current bowler lets go of the ball.
int ShotReleaseFrame();
// The ball leaves the bowler's right hand: released, shown, placed at the hand of this very
// pose, and the control state becomes released.
void ShotLetGo();

// Walks the bowler `by` across the approach; the ball stops at the band's edge (half width maxX
// about the hand offset) on the side it walks to.
void ShotWalkBowler(float by, float maxX);

// The approach, looped while a step waits for the throw, and the delivery that follows it.
void ShotStartApproach();
void ShotStartDelivery();
// The throw leaves the shot fields for the ball: no roll about x, the side spin of the hook factor
// (-1 full left .. 1 full right) at the shot's speed, and the shot's heading.
void ShotSetBallParams(float hookFactor);

// Where the slider knob of width knobWidth stands for the ball at ballX in a band of half width
// maxX (x from 22, over 271 - knobWidth pixels), and the bowler's x back from a knob at knobX
// (hand offset d added), kept within the band.
int ShotKnobX(float ballX, float maxX, int knobWidth);
float ShotKnobBowlerX(int knobX, int knobWidth, float maxX, float d);
// The width of the knob image knobImage (display variant applied here), or the fallback size.
int ShotKnobWidth(int knobImage);
// A new knob of that image at the ball's place, draggable along x over the slider; null when
// memory is short.
TouchButton_tag* ShotNewKnob(int knobImage, float maxX);

// The click, at the sound-effects volume.
void ShotClick();
// 1 when the button was let go this frame on the overlay's input (OverlayInput), and no other.
int ShotReleased(uint16_t button);
// The first step of a set-up in the game's control mode: the position step with the buttons, the
// touch position step with the stylus.
int ShotStartFirstStep();
// The hand-overs of a set-up step: A let go or `next` pressed clicks, closes the step and starts
// the next one; B let go or `back` pressed the same with the way back (none: B does nothing);
// START let go pushes the pause menu on top. 1 when the step was left: nothing of it may be read
// after, its buttons are freed.
int ShotStepButtons(const TouchButton_tag* next, int (*startNext)(), const TouchButton_tag* back,
                    int (*startBack)());
// B from the first step of a set-up: back to the overlay the set-up began from: the pin selection
// in the pin practice, the spares start of an attempt in the spares challenge, else the score
// sheet.
int ShotBackToStart();
// B from the ball and oil set-up: the spares start of an attempt in the spares challenge, else
// the score sheet.
int ShotBackToStartTurn();

// Pushes a step's overlay with its five handlers, unless the step is open already (active set).
// Always 1.
int ShotPushStep(int active, int (*open)(), int (*draw)(), int (*update)(), int (*input)(), int (*close)());
// What either position step keeps: the band's half width and its buttons, the knob included.
struct ShotPositionStep {
    float maxX;
    TouchButton_tag* nextButton;
    TouchButton_tag* backButton;
    TouchButton_tag* sliderButton;
};
// The opening of either position step (buttons or stylus): the position control state, the game
// running, the band's half width, the label font, and the next and back buttons with a knob of
// knobImage at the ball's place. 0 when memory is short.
int ShotOpenPositionStep(int knobImage, ShotPositionStep* step);
// Frees the step's buttons.
void ShotClosePositionStep(ShotPositionStep* step);
// The end of either position step's input: the view follows the ball, then the hand-overs of
// ShotStepButtons with startNext ahead and the set-up's start behind.
void ShotEndPositionInput(const TouchButton_tag* next, int (*startNext)(), const TouchButton_tag* back);
// What either position step draws first: its background image, its title at the top, and the
// labels of its buttons (B and "Back" on the left, A and "BOWL" on the right). 0 when an image
// or the font is missing.
int ShotDrawPositionStep(int background, const char* title);
// The opening of a step that waits while the bowler walks up (the power meter, the flick): the
// power control state, the approach looping, the game running and the label font.
void ShotOpenApproachStep();
// A meter that fills upwards: the bottom share (0..100) of image's rows, drawn where they stand
// when the whole image is drawn at (x, y). 0 when the image is missing.
int ShotDrawMeter(int image, float share, int x, int y);

// The size of an overlay image (id already adjusted for the display variant), or fallback x
// fallback when the image is missing. 1 when the image exists.
int ShotImageSize(int rsid, int* w, int* h, int fallback);
// A text with button glyphs ("{1}") in the given font and alignment at (x, y). 0 without the font
// or when the text cannot be drawn.
int ShotText(int font, int mode, int x, int y, const char* text);
