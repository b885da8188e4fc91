// What a widget draws in place of something its description names that the game data or its
// databases lack (a table, a row or column past the table, an image, a font): a magenta outline
// over the widget's box, so the gap shows on screen, and one message per widget in the log.
#pragma once

#include "db/database.h"
#include "ui/environment.h"

// A magenta outline two pixels thick round the box; a box without area gives a 16 x 16 one with
// its corner at (x, y). Leaves alpha 255, modulation 127 and pen size 1 behind.
void BasicUi_RenderPlaceholder(int x, int y, int w, int h);
// Reports the gap once for the widget (reported is its record's flag) and draws the placeholder.
void BasicUiWidget_Placeholder(sBasicUiWidget* w, int* reported, const char* what, const char* name, int x, int y,
                               int width, int height);
// 1 when the table has the row and the column.
int BasicUi_TableHasCell(const sBasicDbTable* table, int row, int column);
