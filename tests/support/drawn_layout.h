// What a 2D screen draws, for layout checks: the rectangle of every line of text and of every
// picture, read from the text output's line record and from the frame's quad buffer.
#pragma once

#include <string>
#include <vector>

struct DrawnRect {
    int x, y, w, h;
};

struct Drawing {
    int result = 0;                   // what the draw function returned
    std::vector<DrawnRect> lines;     // every line of text, grown to take in its {n} graphics
    std::vector<DrawnRect> pictures;  // every quad on a screen that is not part of a line of text, in order
};

// Readies the 2D screens without a window, as start-up does: a fresh game heap, the build's game
// data, the renderer, the safe areas of a 400 x 240 upper and a 320 x 240 lower screen, the fonts,
// the overlay pictures and the button glyphs. Returns 1 on success.
int OpenDrawnScreens();
// Undoes OpenDrawnScreens (and whatever game a test set up on top of it).
void CloseDrawnScreens();

// Runs draw inside a frame of quads while the text output records its lines.
Drawing RecordDrawing(int (*draw)());

std::string Describe(const DrawnRect& r);
// a lies within b, allowing m pixels past each edge.
bool Within(const DrawnRect& a, const DrawnRect& b, int m = 0);
// a and b share more than m pixels across and down.
bool Overlap(const DrawnRect& a, const DrawnRect& b, int m = 0);
