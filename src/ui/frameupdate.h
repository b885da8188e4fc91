// The UI's frame: once per frame the active widget tree is updated and then drawn in three passes
// (upper screen left eye, upper screen right eye, lower screen). Also here: the frame clock with
// its cap, the UI's own copy of the controller with the pressed / let-go rule, the key queue, the
// touch "hand" and small helpers that widgets share.
//
// 2D drawing of all passes shares one 720 x 360 canvas: the upper screen's passes are offset by
// (0, 60) and the lower screen's by (400, 60), so that the lower screen's centre is (560, 180).
#pragma once

#include "platform/input.h"
#include "ui/environment.h"

// ---- Update and drawing ----

// dt = BasicUiCounter_SetElapsedTime(0), then BasicUi_UpdateEnvironment(env, dt).
int BasicUi_UpdateEnvironmentFull(sBasicUiEnvironment* env);
// Updates every active widget of every active screen of every active display, parents before
// their children; an inactive widget is skipped with its subtree. Then one step of the
// environment's resource loader. Returns 1.
int BasicUi_UpdateEnvironment(sBasicUiEnvironment* env, float dt);
// RenderStartScreen, the three passes, RenderDoneScreen.
int BasicUi_RenderEnvironmentFull(sBasicUiEnvironment* env);
// The three passes; each draws the tree of the framework's environment (BasicUi_GetEnvironment).
int BasicUi_RenderEnvironment(sBasicUiEnvironment* env);
// One pass: every rendered widget of every rendered screen of every rendered display, parents
// before their children, siblings in list order.
int BasicUi_RenderEnvironmentInternal(sBasicUiEnvironment* env);

enum { kBasicUiRenderPasses = 3, kBasicUiCanvasWidth = 720, kBasicUiCanvasHeight = 360 };
// The 2D offset of each pass.
extern const int basicUiRenderPassOffset[kBasicUiRenderPasses][2];
// The pass being drawn (0 left eye, 1 right eye, 2 lower screen), -1 outside the passes.
int BasicUi_GetRenderPass();
// The renderer's 2D offset: during a pass, the pass's place on the canvas; after the passes, the
// offset they found.
void BasicUi_GetRenderOffset2D(int* x, int* y);

// Frame statistics: seconds spent in updates and passes, passes counted, and the rate computed
// every 60 passes.
extern double basicUiTimeTaken;
extern int basicUiNumFrames;
extern double basicUiFps;

// ---- Frame clock: counter 0 is the UI's frame clock, counter 1 is free ----

void BasicUiCounter_Init();
// Seconds since the counter's last reading, at most 1/30 s; 0 for an index other than 0 and 1.
float BasicUiCounter_SetElapsedTime(int i);
// The same without the cap (the loader times its phases with it).
float BasicUiCounter_SetElapsedTimeNoCap(int i);
// The last reading; 0 for an index other than 0 and 1.
float BasicUiCounter_GetElapsedTime(int i);
// The system tick count in seconds.
double BasicUI_GetTimeInSecs();

// ---- The UI's controller copy ----

// The live buttons and edges of the frame (the update takes them from allInput before it walks
// the widgets) and what widgets inject over them, with the live stick position.
extern joystickState basicUiInput;
// Clears the injected buttons and edges; with all, also the sticks, the live input and the
// platform's controller states.
void BasicUi_ClrController(int all);
// live: the combined live input (allInput) without the buttons the press latch holds back
// (presslatch.h). 0: the UI's copy, with the first stick of the live input: the frame's live
// buttons (less those held back) with what widgets injected this frame.
joystickState* BasicUi_GetController(int live);

// Masks of the UI's input state.
enum {
    kBasicUiPadUp = 0x2000,
    kBasicUiPadDown = 0x4000,
    kBasicUiPadLeft = 0x0800,
    kBasicUiPadRight = 0x1000,
    kBasicUiPadAccept = 0x0002,
    kBasicUiPadBack = 0x0004,  // B, as the copy trades it with A
};
// A button is pressed in a frame when it is held and changed (set in buttons and edges), let go
// when it changed and is no longer held (set in edges, clear in buttons), and free when it is
// clear in both. With several bits in mask, any one of them counts for pressed and let go, and
// all of them must be free. A null state is free and neither pressed nor let go.
int BasicUi_IsPressed(const joystickState* state, int mask);
int BasicUi_IsLetGo(const joystickState* state, int mask);
int BasicUi_IsFree(const joystickState* state, int mask);

// ---- Key queue (nothing on this platform produces keys, so it stays empty) ----

int BasicUi_InitKb();
void BasicUi_ResetKeys();
void BasicUi_ReadKeys();
int BasicUi_HasKeys();
void BasicUi_NextKey();
int BasicUi_GetKey();
int BasicUi_GetState();

// ---- Touch hand ----

// Only the first frame of a touch of the lower screen reports a position: (touch + (400, 60))
// divided by the canvas size, and returns 1. Otherwise the outputs are (400/720, 0) and 0 is
// returned; without a touch state nothing is written. A null output: 1, nothing written.
int BasicUi_GetHandCoords(int, int, float* x, float* y);
// 1 while the lower screen is touched within x 1..320.
int BasicUi_GetPressAmountMc(int);
void BasicUi_InitMc();
void BasicUi_SetOnlyMc(int onlyMc);
int BasicUi_GetMcRadarX();
int BasicUi_GetMcRadarY();

// ---- Small helpers shared by widgets ----

float BasicUi_UnitClamp(float v);
int BasicUi_Max(int a, int b);
// 1 when the resource is loaded, is a bitmap (type 125), and is a font sheet with its font info.
int BasicUi_FontExists(int id);
// The UI font chosen at start-up when it exists, else the font the text output has selected.
int BasicUi_GetFontID();
// 1 when the resource is loaded and is a bitmap (type 125).
int BasicUi_ImageExists(int id);
// The resource loader of the widget's environment; null without one.
sBasicUiRLSTracker* BasicUiWidget_GetRLSTracker(sBasicUiWidget* widget);
// The number of items of an anim set; 0 for null.
int BasicUiAnimSet_GetNumItems(sBasicUiAnimSet* set);
