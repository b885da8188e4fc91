// Shared drawing of the overlays: resource ids of the two display variants, the button glyphs
// that texts embed as {n}, message boxes (title, wrapped message, footer), the pause menu's entry
// list, the controller that owns overlay input, and the per-screen drawing of the HUD and the
// overlay stack during play.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "lib/resourceids.h"

struct DS3_bitmap_tag;

// Font ids of the overlays.
enum { kOverlayFontBody = 0xc05, kOverlayFontTitle = 0xc07, kOverlayFontHint = 0xc08 };
constexpr int kOverlayTextSize = 640;
constexpr int kOverlayGraphics = 20;

// A 2D image: a bitmap resource with a source rectangle and a destination corner (w or h of -1:
// the bitmap's full size).
struct SCREENBITMAPTAG {
    DS3_bitmap_tag* theBitmap;
    int rsid;
    int sx, sy, w, h;
    int x, y;
    void* mask;
};

// One glyph that a {n} escape draws: gap dx before it, vertical offset dy.
struct graphics_Tag {
    SCREENBITMAPTAG bitmap;
    int dx, dy;
};
extern graphics_Tag graphics[kOverlayGraphics];

// The layout of a message box. textAlignment: bit 0 right, bit 1 centre.
struct MsgOverlayProperties_tag {
    int left, top, width, height, maxWidth, maxHeight;
    char titleString[kOverlayTextSize];
    int titleFontRSID;
    char msg[kOverlayTextSize];
    char formattedMsg[kOverlayTextSize];
    int msgFontRSID;
    char footerMsg[kOverlayTextSize];
    int footerMsgFontRSID;
    int textAlignment;
    int msgDestLeft, msgDestTop, titleDestLeft, titleDestTop, footerDestLeft, footerDestTop;
    int (*func)(void* context, int n, int* x, int* y);
};

// One entry of a doubly linked menu list.
struct MenuEntry_tag {
    char string[32];
    uint16_t textLeft, textTop, iconLeft, iconTop;
    int menuType;
    int (*menuFunction)();
    MenuEntry_tag* prevEntry;
    MenuEntry_tag* nextEntry;
};

extern int gOverlayControllerIndex;  // owner of overlay input; negative: any controller
extern int displayNum;               // the screen being drawn: 0 upper, 1 lower

// Overlay images of the larger display variant are 86 ids further on; fonts 29.
int GetOverlayRSID(int id);
int GetFontRSID(int id);

// Loads glyphs 0..9 from the glyph sheet; 0 at the first image that cannot be had.
int InitOverlayBitmaps();
int DisposeOverlayBitmaps();
// Entry index of graphics from image rsid and a source rectangle; 0 for index >= 20 or a missing
// image.
int SetGraphic(int index, int rsid, int sx, int sy, int sw, int sh, int dx, int dy);
// The {n} callback of embedded text: draws glyph n at the pen and moves *x past it.
int DrawOverlayGraphic(void* context, int n, int* x, int* y);

// Lays out a message box: wraps msg into formattedMsg and sizes and places the box within the
// safe area. 0 for an empty message or one that cannot fit.
int GetMsgOverlayProperties(MsgOverlayProperties_tag* p, int recentre);
// 1 when the title or the message holds a lower-case letter.
int UsesLowercase(const MsgOverlayProperties_tag* p);
int DrawMsgOverlay(const MsgOverlayProperties_tag* p, int drawBackground);
// The message background sheet at (0, 0); the rectangle does not change what is drawn. 0 when the
// image is missing.
int DrawOverlayBackground(int left, int top, int width, int height);

// Where text drawn at (x, y) in the selected font with mode (kTextModeLeft, ...Right, ...Center)
// puts its ink: from its first glyph or letter (a leading glyph's gap shows nothing) to its end,
// as tall as its font and its glyphs.
PictureBox OverlayTextBox(int x, int y, const char* text, int mode);
// The smallest box round a and b.
PictureBox BoxAround(const PictureBox& a, const PictureBox& b);
// Where a message box's footer draws its answers, each a glyph and its word ("{1} Yes    {3} No"
// has two, "{1} Continue" one). Selects the footer's font; returns how many (0 without a footer).
int MsgFooterAnswers(const MsgOverlayProperties_tag* p, PictureBox answers[2]);
// Notes for --layout-out a button drawn at b (its glyph and its words) that a touch anywhere on
// it should press.
void NoteDrawnButton(const PictureBox& b);

// Links a new entry after *tail (or starts the list). 0 when memory is short or tail is null
// with a list present.
int AddMenuEntry(MenuEntry_tag** head, MenuEntry_tag** tail, const char* string, uint16_t textLeft, uint16_t textTop,
                 uint16_t iconLeft, uint16_t iconTop, int menuType, int (*menuFunction)());
// Frees every entry of a list and empties it.
int FreeMenuEntries(MenuEntry_tag** head, MenuEntry_tag** tail);

int GetOverlayControllerNum();
int SetOverlayControllerNum(int n);
// Selects the screen being drawn, clamped to 0..1. Returns 1.
int SetHUDDisplay(int n);
// The HUD and the overlay stack for the screen SetHUDDisplay selected.
int DrawGameOverlays();

// Overlay images by resource id (the caller applies GetOverlayRSID). A missing image draws
// nothing and gives 0.
DS3_bitmap_tag* OverlayBitmap(int rsid);
int OverlayBitmapSize(int rsid, int* w, int* h);
int DrawOverlayBitmap(int rsid, int x, int y);
int DrawOverlayBitmapScaled(int rsid, int x, int y, int w, int h);
int DrawOverlayBitmapRotated(int rsid, int cx, int cy, float angle);
// DrawOverlayBitmap for a mark (a marker, a pointer, a knob, a pin) that stands over the picture:
// --layout-out notes it, and no text belongs under it.
int DrawOverlayMark(int rsid, int x, int y);
// Draws text with {n} glyphs in the selected font and mode; 0 when nothing could be drawn.
int DrawOverlayText(int x, int y, const char* text);
// Notes for --layout-out the buttons that an overlay's background paints (each a PictureBox of
// lib/resourceids.h): their prompts and words belong inside them, and a touch anywhere on one
// should press it.
void NoteOverlayButtons(std::initializer_list<PictureBox> buttons);
// A touch button over the whole of a button the background paints at b (null when memory is
// short): it answers on the button's words and frame as on its icon.
struct TouchButton_tag;
TouchButton_tag* NewBoxButton(const PictureBox& b);
