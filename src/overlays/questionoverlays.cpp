// The three message boxes (yes/no, information, no input): one record of texts, layout and answer
// per box, opened, drawn and closed through the shared message-box layout, with the box-specific
// buttons and timing alongside.
#include "overlays/questionoverlays.h"

#include <cstring>

#include "game/controls.h"
#include "lib/memory.h"
#include "lib/resourceids.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "lib/screenapi.h"
#include "lib/textoutput.h"
#include "overlays/overlaydraw.h"
#include "overlays/overlaystack.h"
#include "platform/frame.h"
#include "platform/input.h"
#include "platform/quads.h"
#include "shell/globals.h"
#include "shell/savedata.h"
#include "shell/settings.h"
#include "shell/touchbuttons.h"

int overlayIgnoreInput = 0;
int backoutAllowed = 0, exBackoutAllowed = 0;

// What every box keeps: its texts as given, the layout made by its open handler, the answer.
struct MessageBox {
    MsgOverlayProperties_tag* properties;
    char title[kOverlayTextSize];
    char msg[kOverlayTextSize];
    char footer[kOverlayTextSize];
    int (*response)(int);
};

static MessageBox yesNo, info, noInput;
static TouchButton_tag* yesButton = nullptr;
static TouchButton_tag* noButton = nullptr;
static TouchButton_tag* okButton = nullptr;

static int (*taskFunc)(int) = nullptr;
static int taskComplete = 0;
static int overlayTimer = 0;
static int overlayMinTime = 3000;
static int unloadResourcesOnClose = 0;
static float animParam = 0.0f;
static float updateParam = 0.05f;

static const int kBusyFirst = kImageBusyFirst, kBusyLast = kImageBusyLast;
static const int kBusyFontFirst = 0xc03, kBusyFontLast = 0xc05;
static const int kMinTime = 3000;
static const float kPulseStep = 0.05f;

// The texts are copied as they are: a '%' in a message is shown, not read as a directive.
static void CopyText(char* dst, const char* src)
{
    if (!src) src = "";
    size_t n = 0;
    for (; n < size_t(kOverlayTextSize - 1) && src[n]; ++n) dst[n] = src[n];
    dst[n] = '\0';
}

static int Start(MessageBox& box, const char* title, const char* msg, const char* footer, int (*response)(int),
                 int (*open)(), int (*draw)(), int (*update)(), int (*input)(), int (*close)())
{
    CopyText(box.title, title);
    CopyText(box.msg, msg);
    CopyText(box.footer, footer);
    box.response = response;
    const OVERLAYTAG overlay = {open, draw, update, input, close, 0};
    return OverlaySelect(&overlay);
}

static void UpperCaseASCII(char* s)
{
    for (; *s; ++s)
        if (*s >= 'a' && *s <= 'z') *s = char(*s - 'a' + 'A');
}

static int Scaled(float v) { return int(v * gHiDefScaleFactor); }

// The steps every box's open handler shares; fills the layout but leaves the width to the box.
// Returns the starting width w (title or footer width plus margins), or -1 when memory is short.
static int OpenBox(MessageBox& box)
{
    if (!box.properties && !AllocateMemoryFor(&box.properties, int(sizeof(MsgOverlayProperties_tag)))) return -1;
    MsgOverlayProperties_tag* p = box.properties;
    std::memset(p, 0, sizeof *p);
    CopyText(p->titleString, box.title);
    CopyText(p->msg, box.msg);
    CopyText(p->footerMsg, box.footer);
    p->titleFontRSID = p->msgFontRSID = p->footerMsgFontRSID = GetFontRSID(kOverlayFontBody);
    p->textAlignment = kTextModeCenter;
    p->func = DrawOverlayGraphic;
    TextOutputSelectFont(p->msgFontRSID);
    int w = p->titleString[0] ? TextOutputLineLength(p->titleString) + 16 : 0;
    const int footerW = TextOutputEmbeddedLineLength(p->footerMsg, DrawOverlayGraphic) + 16;
    if (p->footerMsg[0] && footerW > w) w = footerW;
    return w;
}

static void FinishLayout(MessageBox& box, int width)
{
    MsgOverlayProperties_tag* p = box.properties;
    p->width = width;
    if (!UsesLowercase(p)) UpperCaseASCII(p->footerMsg);
    // A message too long for the screen is shown as far as the layout gets.
    GetMsgOverlayProperties(p, 1);
}

// Width of the information and no-input boxes: grown line by line.
static int LineByLineWidth(const MsgOverlayProperties_tag* p, int w)
{
    int width = 0;
    for (int line = 1;; ++line) {
        const int len = TextOutputGetLineLength(p->msg, line);
        if (len <= 0) break;
        if (w > Scaled(450))
            width = w;
        else if (len + 16 > Scaled(450))
            width = Scaled(450);
        else if (len + 16 < Scaled(200) && w <= Scaled(200))
            width = Scaled(200);
        else if (len + 16 > w)
            width = len + 16;
        w = width;
    }
    return width + Scaled(8);
}

static int FreeBox(MessageBox& box)
{
    int ok = 1;
    if (box.properties && !FreeManagedMemory(box.properties, 0)) ok = 0;
    box.properties = nullptr;
    return ok;
}

static void Answer(int (*response)(int), int value)
{
    OverlayExit();
    if (response) response(value);
}

static int NewlyPressed(const joystickState& s, uint16_t bit) { return uint16_t(s.edges & s.buttons) == bit; }
static int Released(const joystickState& s, uint16_t bit) { return ButtonReleased(&s, bit); }
static int Busy(const joystickState& s) { return s.buttons != 0 || s.edges != 0; }

// ---- Yes/no ----

int StartYesNoOverlay(const char* title, const char* msg, const char* footer, int (*response)(int))
{
    return Start(yesNo, title, msg, footer, response, YesNoOpenHandler, YesNoDrawHandler, YesNoUpdateHandler,
                 YesNoInputHandler, YesNoCloseHandler);
}

int YesNoOpenHandler()
{
    const int w = OpenBox(yesNo);
    if (w < 0) return 0;
    overlayIgnoreInput = 1;
    const int L = TextOutputLineLength(yesNo.properties->msg);
    int width = 0;
    if (w > Scaled(470))
        width = w;
    else if (L + 16 > Scaled(470))
        width = Scaled(470);
    else if (L + 16 < Scaled(200) && w <= Scaled(200))
        width = Scaled(200);
    else if (L + 16 > w)
        width = L;
    FinishLayout(yesNo, width);
    const MsgOverlayProperties_tag* p = yesNo.properties;
    FreeTouchButton(&yesButton);
    FreeTouchButton(&noButton);
    // Each answer's glyph and word are one button.
    PictureBox answers[2] = {};
    const int n = MsgFooterAnswers(p, answers);
    if (n >= 1) yesButton = NewBoxButton(answers[0]);
    if (n >= 2) noButton = NewBoxButton(answers[1]);
    return (n < 1 || yesButton) && (n < 2 || noButton);
}

// The footer's answers, as drawn, for --layout-out.
static void NoteAnswers(const MsgOverlayProperties_tag* p)
{
    PictureBox answers[2] = {};
    const int n = MsgFooterAnswers(p, answers);
    for (int i = 0; i < n; ++i) NoteDrawnButton(answers[i]);
}

int YesNoDrawHandler()
{
    if (!DrawMsgOverlay(yesNo.properties, 1)) return 0;
    NoteAnswers(yesNo.properties);
    return 1;
}

int YesNoUpdateHandler()
{
    UpdateTouchButton(noButton);
    UpdateTouchButton(yesButton);
    return 1;
}

int YesNoInputHandler()
{
    const joystickState in = OverlayInput();
    int (*response)(int) = yesNo.response;
    if (NewlyPressed(in, kButtonA)) return Answer(response, 1), 1;
    if (NewlyPressed(in, kButtonB)) return Answer(response, 0), 1;
    if (yesButton && yesButton->pressed) return Answer(response, 1), 1;
    if (noButton && noButton->pressed) return Answer(response, 0), 1;
    if (overlayIgnoreInput) {
        if (Busy(in)) return 1;
        overlayIgnoreInput = 0;
    }
    if (Released(in, kButtonA)) return Answer(response, 1), 1;
    if (Released(in, kButtonB)) return Answer(response, 0), 1;
    return 1;
}

int YesNoCloseHandler()
{
    FreeTouchButton(&yesButton);
    FreeTouchButton(&noButton);
    FreeBox(yesNo);
    return 1;
}

const MsgOverlayProperties_tag* YesNoOverlayLayout() { return yesNo.properties; }

// ---- Information ----

int StartInfoOverlay(const char* title, const char* msg, const char* footer, int (*response)(int))
{
    backoutAllowed = exBackoutAllowed = 0;
    return Start(info, title, msg, footer, response, InfoOpenHandler, InfoDrawHandler, InfoUpdateHandler,
                 InfoInputHandler, InfoCloseHandler);
}

int InfoOpenHandler()
{
    const int w = OpenBox(info);
    if (w < 0) return 0;
    FinishLayout(info, LineByLineWidth(info.properties, w));
    const MsgOverlayProperties_tag* p = info.properties;
    FreeTouchButton(&okButton);
    PictureBox answers[2] = {};
    const int n = MsgFooterAnswers(p, answers);
    if (n >= 1) okButton = NewBoxButton(n == 2 ? BoxAround(answers[0], answers[1]) : answers[0]);
    overlayIgnoreInput = 1;
    return n < 1 || okButton != nullptr;
}

int InfoDrawHandler()
{
    if (!DrawMsgOverlay(info.properties, 1)) return 0;
    NoteAnswers(info.properties);
    return 1;
}

int InfoUpdateHandler()
{
    UpdateTouchButton(okButton);
    return 1;
}

int InfoInputHandler()
{
    const int owner = GetOverlayControllerNum();
    const joystickState in = OverlayInputOf(owner >= 0 && owner < kNumControllerStates ? controllers[owner] : allInput);
    if (overlayIgnoreInput) {
        if (Busy(in)) return 1;
        overlayIgnoreInput = 0;
    }
    if (Released(in, kButtonA) || (okButton && okButton->pressed)) Answer(info.response, 1);
    return 1;
}

int InfoCloseHandler()
{
    FreeTouchButton(&okButton);
    FreeBox(info);
    return 1;
}

const MsgOverlayProperties_tag* InfoOverlayLayout() { return info.properties; }

// ---- Without input ----

int StartNoInputOverlay(const char* title, const char* msg, const char* footer, int (*response)(int),
                        int (*task)(int))
{
    overlayTimer = 0;
    taskComplete = 0;
    overlayMinTime = kMinTime;
    taskFunc = task;
    return Start(noInput, title, msg, footer, response, NoInputOpenHandler, NoInputDrawHandler, NoInputUpdateHandler,
                 NoInputInputHandler, NoInputCloseHandler);
}

int NoInputOpenHandler()
{
    const int w = OpenBox(noInput);
    if (w < 0) return 0;
    FinishLayout(noInput, LineByLineWidth(noInput.properties, w));
    unloadResourcesOnClose = 0;
    if (!ResourceLoaded(GetOverlayRSID(kBusyFirst))) {
        // Without them the box shows no busy dots; it still waits as long.
        if (LoadResourceRange(GetOverlayRSID(kBusyFirst), GetOverlayRSID(kBusyLast)) &&
            LoadResourceRange(GetFontRSID(kBusyFontFirst), GetFontRSID(kBusyFontLast)))
            unloadResourcesOnClose = 1;
    }
    updateParam = kPulseStep;
    animParam = 0.0f;
    return 1;
}

int NoInputDrawHandler()
{
    if (!DrawMsgOverlay(noInput.properties, 1)) return 0;
    // The dots pulse while the save worker reads or writes.
    if (SaveDataProcessComplete()) return 1;
    animParam += updateRatio * updateParam;
    if (animParam >= 1.0f) {
        animParam = 1.0f;
        updateParam = -kPulseStep;
    } else if (animParam <= 0.0f) {
        animParam = 0.0f;
        updateParam = kPulseStep;
    }
    if (!TextOutputSelectFont(RSID_FONT_DEFAULT)) return 1;
    uint8_t alpha = 255;
    RenderGetAlphaLevel(&alpha);
    RenderSetAlphaLevel(int(animParam * 255.0f));
    TextOutputSetMode(kTextModeCenter);
    TextOutputDrawDirect(160, displaySafeArea.bottom - 28, "%s", "...");
    RenderSetAlphaLevel(alpha);
    return 1;
}

int NoInputUpdateHandler()
{
    overlayTimer += updateRate;
    if (taskFunc && !taskComplete && taskFunc(1)) taskComplete = 1;
    if ((taskComplete || !taskFunc) && overlayTimer > overlayMinTime) Answer(noInput.response, 1);
    return 1;
}

int NoInputInputHandler() { return 1; }

int NoInputCloseHandler()
{
    FreeBox(noInput);
    if (unloadResourcesOnClose) {
        DisposeResourceRange(GetOverlayRSID(kBusyFirst), GetOverlayRSID(kBusyLast));
        DisposeResourceRange(GetFontRSID(kBusyFontFirst), GetFontRSID(kBusyFontLast));
        unloadResourcesOnClose = 0;
    }
    return 1;
}

const MsgOverlayProperties_tag* NoInputOverlayLayout() { return noInput.properties; }
