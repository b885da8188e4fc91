// The record of one in-game overlay's handlers. The overlay stack (overlays/) keeps these; the
// game loop keeps a copy of the top one each frame, so the record stands in this layer.
#pragma once

// One overlay: its five handlers, each returning non-zero for success. A slot whose draw handler
// is null counts as empty. A close handler that returns 0 refuses the close.
struct OVERLAYTAG {
    int (*openHandler)();    // run once, on the first update after the push
    int (*drawHandler)();
    int (*updateHandler)();  // may be null
    int (*inputHandler)();   // may be null
    int (*closeHandler)();   // may be null
    int permanent;           // while the top has it set, nothing else can be pushed
};
