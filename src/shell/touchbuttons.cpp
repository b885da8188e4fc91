// Touch buttons on the lower screen: presses, holds and drags from the stylus, one record per
// button.
#include "shell/touchbuttons.h"

#include "host/gpu.h"
#include "host/layoutrecord.h"
#include "lib/memory.h"
#include "platform/frame.h"
#include "platform/input.h"

static const int kRepeatRate = 500;
// The touch that no button takes (TouchButtonsIgnoreCurrentTouch): its number on the panel, while
// `ignoring` is set. The number tells it from a later touch where no button saw the lift between.
static int ignoring = 0;
static int ignoredTouch = 0;

int CreateTouchButton(TouchButton_tag* button, int x, int y, int w, int h)
{
    if (!button) return 0;
    *button = TouchButton_tag{};
    button->x = x;
    button->y = y;
    button->w = w;
    button->h = h;
    button->repeatRate = kRepeatRate;
    button->minX = button->maxX = x;
    button->minY = button->maxY = y;
    return 1;
}

static int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

static void Drag(TouchButton_tag* b, int tx, int ty)
{
    if (b->moveableX) {
        b->dx = tx - b->pressX;
        b->x = Clamp(b->startX + b->dx, b->minX, b->maxX);
    }
    if (b->moveableY) {
        b->dy = ty - b->pressY;
        b->y = Clamp(b->startY + b->dy, b->minY, b->maxY);
    }
}

void TouchButtonsIgnoreCurrentTouch()
{
    const DS3_controller* pad = controllers[0].controller;
    if (!pad || !pad->touchData.isTouching) return;
    ignoring = 1;
    ignoredTouch = TouchSerial();
}

int UpdateTouchButton(TouchButton_tag* b)
{
    const DS3_controller* pad = controllers[0].controller;
    if (!b || !pad) return 0;
    // --layout-out records where a stylus can press it (in the lower screen's pixels).
    LayoutNoteTouch(kGpuDisplayLower, b->x, b->y, b->w, b->h);
    const int tx = pad->touchData.x, ty = pad->touchData.y;
    if (!pad->touchData.isTouching) {
        b->pressed = b->held = 0;
        b->dx = b->dy = 0;
        b->isActive = 1;
        ignoring = 0;
        return 1;
    }
    if (ignoring && ignoredTouch == TouchSerial()) {
        // Whatever the button made of this touch before, it lets go of it.
        b->pressed = b->held = 0;
        b->dx = b->dy = 0;
        b->isActive = 0;
        return 1;
    }
    if (!b->isActive) return 1;
    const int inside = b->x < tx && tx < b->x + b->w && b->y < ty && ty < b->y + b->h;
    if (inside) {
        if (!b->pressed && !b->held) {
            b->pressed = 1;
            b->pressX = tx;
            b->pressY = ty;
            b->startX = b->x;
            b->startY = b->y;
            b->timer = 0;
        } else {
            b->held = 1;
            b->pressed = 0;
            if (b->repeats) {
                b->timer += updateRate;
                if (b->repeatRate <= 0 || b->timer % b->repeatRate != 0) b->held = 0;
            }
        }
        Drag(b, tx, ty);
        return 1;
    }
    if (!b->pressed && !b->held) {
        b->isActive = 0;
        return 1;
    }
    // A touch that started inside and left the rectangle still holds (and drags) the button; its
    // press was the update it landed in.
    b->pressed = 0;
    b->held = 1;
    Drag(b, tx, ty);
    return 1;
}

TouchButton_tag* NewTouchButton(int x, int y, int w, int h)
{
    TouchButton_tag* b = nullptr;
    if (!AllocateMemoryFor(&b, int(sizeof(TouchButton_tag)))) return nullptr;
    CreateTouchButton(b, x, y, w, h);
    return b;
}

int FreeTouchButton(TouchButton_tag** button)
{
    if (!button || !*button) return 1;
    int ok = FreeManagedMemory(*button, 0);
    *button = nullptr;
    return ok;
}
