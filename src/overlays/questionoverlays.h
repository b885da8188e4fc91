// Message boxes on the lower screen: the yes/no question, the information box with one OK action,
// and the box without input that stays up while a background task runs and for at least three
// seconds. Each answers through the caller's response function: 1 for yes, OK or done, 0 for no.
// The texts are shown as they are given.
#pragma once

struct MsgOverlayProperties_tag;

int StartYesNoOverlay(const char* title, const char* msg, const char* footer, int (*response)(int));
int StartInfoOverlay(const char* title, const char* msg, const char* footer, int (*response)(int));
// task, when given, is called with 1 each frame until it reports completion.
int StartNoInputOverlay(const char* title, const char* msg, const char* footer, int (*response)(int),
                        int (*task)(int));

int YesNoOpenHandler();
int YesNoDrawHandler();
int YesNoUpdateHandler();
int YesNoInputHandler();
int YesNoCloseHandler();
int InfoOpenHandler();
int InfoDrawHandler();
int InfoUpdateHandler();
int InfoInputHandler();
int InfoCloseHandler();
int NoInputOpenHandler();
int NoInputDrawHandler();
int NoInputUpdateHandler();
int NoInputInputHandler();
int NoInputCloseHandler();

// Set by the yes/no and information boxes when they open: input waits until nothing is held.
extern int overlayIgnoreInput;
extern int backoutAllowed, exBackoutAllowed;

// The layout of the open box of each kind; null while that box is not open.
const MsgOverlayProperties_tag* YesNoOverlayLayout();
const MsgOverlayProperties_tag* InfoOverlayLayout();
const MsgOverlayProperties_tag* NoInputOverlayLayout();
