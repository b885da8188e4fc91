// The host's HOME and power menus: the handheld's system screens, played by the host. Over a
// dimmed picture of the game's last frame the upper screen names the menu and the lower screen
// offers "Resume" and "Close", answered by touch, by the D-pad and A, or by B (resume). The game is
// suspended while the menu runs; the platform's HOME handling (platform/applet.cpp) opens it.
#pragma once

#include <cstdint>
#include <vector>

enum { kSystemMenuHome = 0, kSystemMenuPower = 1 };
enum { kSystemMenuClose = 0, kSystemMenuResume = 1 };

// Runs the menu until it is answered: kSystemMenuResume or kSystemMenuClose. The host's close
// order (window closed, frame limit) answers Close. Each pass counts as a presented frame, so an
// input script goes on through the menu and a headless run repeats. Not headless and without a
// window on a screen, the menu answers Resume once the script has no order left to come.
int HostRunSystemMenu(int kind);

// The menu's pictures over the game's last images (RGB, landscape, top row first; an image of the
// wrong size counts as black): dimmed, with the title above and the two buttons below, the one
// under the cursor (kSystemMenuResume or kSystemMenuClose) highlighted.
void HostComposeSystemMenu(int kind, int cursor, const std::vector<uint8_t>& upperGame,
                           const std::vector<uint8_t>& lowerGame, std::vector<uint8_t>* upper,
                           std::vector<uint8_t>* lower);

// The answer that a touch at lower-screen pixel (x, y) gives, or -1 when it is on no button.
int HostSystemMenuButtonAt(int x, int y);
