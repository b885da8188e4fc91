// The placeholder of a widget whose named image, font, table or cell is missing: a magenta outline
// where the widget would be, with one message per widget, so a damaged description or game data
// shows itself without stopping the frame.
#include "ui/placeholder.h"

#include "lib/printing.h"
#include "platform/quads.h"

enum { kPlaceholderEdge = 2, kPlaceholderSize = 16 };

void BasicUi_RenderPlaceholder(int x, int y, int w, int h)
{
    if (w <= 0 || h <= 0) w = h = kPlaceholderSize;
    RenderSetAlphaLevel(255);
    RenderSetColorModulation(127, 127, 127);
    RenderSetPenColor(255, 0, 255);
    RenderSetPenSize(kPlaceholderEdge, kPlaceholderEdge);
    RenderFrameRect(x, y, w, h);
    RenderSetPenSize(1, 1);
}

void BasicUiWidget_Placeholder(sBasicUiWidget* w, int* reported, const char* what, const char* name, int x, int y,
                               int width, int height)
{
    if (reported && !*reported) {
        *reported = 1;
        PrintError("BasicUi: widget %s names %s %s, which does not exist; a placeholder is drawn in its place",
                   w && w->name ? w->name : "?", what, name ? name : "(none)");
    }
    BasicUi_RenderPlaceholder(x, y, width, height);
}

int BasicUi_TableHasCell(const sBasicDbTable* table, int row, int column)
{
    if (!table || !table->def) return 0;
    return row >= 0 && row < table->rows && column >= 0 && column < table->def->columns ? 1 : 0;
}
