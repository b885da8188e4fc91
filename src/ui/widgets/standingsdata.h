// What the standings widgets share: the six tables resolved for one render with the cells every
// one of them reads (career slot, event row, team size, entrant count), entrant names and texts,
// and the high-score list that the ladder and the score table both draw.
#pragma once

#include "ui/widgets/standings.h"

struct sBasicUiStandings {
    sBasicDbTable *header, *npc, *game, *save, *career, *player;
    int slot;        // career slot: the saved row of this career
    int gameRow;     // the event's row in the definitions
    int teamSize;
    int entrants;    // entrant entrants - 1 is the player's own; 0 for a count beyond an event's
    int nameColumn;  // 1 for single bowlers, 2 for team names
};

// Appends the six reference properties ("headerRef" .. "playerRef").
void BasicUiStandings_AddRefs(sBasicUiStandingsRefs* refs, sBasicUiPropertyTracker* t);
// Resolves the six tables and reads the shared cells; 0 when a table does not resolve.
int BasicUiStandings_Resolve(const sBasicUiStandingsRefs* refs, sBasicUiStandings* s);
// As Resolve, and the two fonts of the entries exist; what is missing is reported once for the
// widget. 1 when the widget can draw.
int BasicUiStandings_Ready(sBasicUiWidget* w, sBasicUiStandingsRefs* refs, sBasicUiStandings* s, int fontLo,
                           int fontHi);
// Element of the saved row's multi-element column (def when out of range).
int BasicUiStandings_Save(const sBasicUiStandings* s, int column, int element, int def);
// The name of an entrant (the player's own from its profile row, the others through the event's
// member list); empty for an entrant the tables do not name.
void BasicUiStandings_Name(const sBasicUiStandings* s, int entrant, char* text, int size);
// Column 1 of a row of the texts table; empty when there is none.
void BasicUiStandings_Text(const sBasicUiStandings* s, int row, char* text, int size);
// top brought into 0..count - rows (0 when fewer entries than rows).
int BasicUiStandings_ClampTop(int top, int rows, int count);
// The end of the shown entries from top: top + rows, no further than count.
int BasicUiStandings_Last(int top, int rows, int count);
// base + row x step + offset, truncated toward zero; kept inside the drawable range whatever the
// description's step.
int BasicUiStandings_RowY(int base, float row, float step, int offset = 0);
// Selects the font when it exists; 1 when it did.
int BasicUiStandings_Select(int font);
// The alpha, pen colour and colour modulation every standings text is drawn with.
void BasicUiStandings_RenderState();
void BasicUiStandings_Number(int x, int y, float sx, float sy, int alignX, const char* format, int value);

// The high-score list: titles over the columns, then one row per standings position from top.
struct sBasicUiStandingsList {
    const sBasicUiValueINT* xc;  // x of the columns: position, name, games, target less games, pins[, average]
    int columns;                 // 5 (ladder) or 6 (score table)
    int titleY, rowY, top, rows;
    float step;
    int fontLo, fontHi;
    float headerSclX, headerSclY, sclX, sclY;
    int naWithoutTarget;  // the ladder shows "n/a" for the numbers when the target is 0
};
void BasicUiStandings_RenderList(const sBasicUiStandings* s, const sBasicUiStandingsList* list);
