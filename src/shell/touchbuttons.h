// Touch buttons: rectangles of the lower screen that turn the stylus into a one-frame press, a
// continuing hold and, for draggable buttons, a position that follows the stylus within limits.
// A touch that begins outside a button never activates it until the stylus is lifted, and a touch
// presses a button once however it moves afterwards: sliding off and back on does not press again.
#pragma once

#include <cstdint>

struct TouchButton_tag {
    int32_t x, y, w, h;            // the rectangle; x and y move while the button is dragged
    int32_t pressed;               // 1 on the one update in which a touch landed inside
    int32_t held;                  // 1 after that, while the touch continues (inside or not)
    int32_t repeats;               // 1: held is reported only at repeat instants
    int32_t isActive;              // 1 when the button may react (set whenever the stylus is up)
    int32_t moveableX, moveableY;  // the button follows the stylus on that axis
    int32_t dx, dy;                // stylus travel since the press
    int32_t minX, maxX, minY, maxY;
    int32_t pressX, pressY;        // stylus at the press
    int32_t startX, startY;        // button position at the press
    int32_t timer;                 // milliseconds held, while repeats is on
    int32_t repeatRate;            // milliseconds
};
typedef TouchButton_tag OverlayTouchButton;
static_assert(sizeof(TouchButton_tag) == 88, "touch buttons are 88 bytes");

// Sets the rectangle and clears the rest; the drag limits start at the position. A new button is
// inactive until its first update with the stylus up. 0 for a null button.
int CreateTouchButton(TouchButton_tag* button, int x, int y, int w, int h);
// Once a frame: reads slot 0's touch data. 0 without a button or touch data.
int UpdateTouchButton(TouchButton_tag* button);
// The touch on the panel now (if any) presses, holds and drags no button, whenever it began,
// until the stylus is lifted: the overlay stack calls it when an overlay takes the lower screen
// over, so that a touch made on one overlay does not act on the one that comes up in its place.
void TouchButtonsIgnoreCurrentTouch();
// A button from the game's heap, created at the rectangle; null when memory is short.
TouchButton_tag* NewTouchButton(int x, int y, int w, int h);
// Frees *button and sets it null; 1 when there was nothing to free.
int FreeTouchButton(TouchButton_tag** button);
