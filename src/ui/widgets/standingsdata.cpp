// The standings widgets' shared reading of the career tables and their high-score list. Every
// value is read from the tables on each render; names of rows the tables lack come out empty.
#include "ui/widgets/standingsdata.h"

#include <cstdio>
#include <string>

#include "lib/textoutput.h"
#include "platform/quads.h"
#include "ui/draw2d.h"
#include "ui/frameupdate.h"
#include "ui/widgets/dbref.h"
#include "ui/widgets/widgetrecord.h"

void BasicUiStandings_AddRefs(sBasicUiStandingsRefs* refs, sBasicUiPropertyTracker* t)
{
    const eBasicUiPropertyType W = eBasicUiPropertyTypeWidgetREF;
    BasicUiPropertyTracker_Add(t, "headerRef", W, &refs->headerRef, 1, 0);
    BasicUiPropertyTracker_Add(t, "npcRef", W, &refs->npcRef, 1, 0);
    BasicUiPropertyTracker_Add(t, "gameRef", W, &refs->gameRef, 1, 0);
    BasicUiPropertyTracker_Add(t, "saveRef", W, &refs->saveRef, 1, 0);
    BasicUiPropertyTracker_Add(t, "careerRef", W, &refs->careerRef, 1, 0);
    BasicUiPropertyTracker_Add(t, "playerRef", W, &refs->playerRef, 1, 0);
}

int BasicUiStandings_Resolve(const sBasicUiStandingsRefs* refs, sBasicUiStandings* s)
{
    s->header = BasicUiWidgetTypeDbRef_Table(refs->headerRef);
    s->npc = BasicUiWidgetTypeDbRef_Table(refs->npcRef);
    s->game = BasicUiWidgetTypeDbRef_Table(refs->gameRef);
    s->save = BasicUiWidgetTypeDbRef_Table(refs->saveRef);
    s->career = BasicUiWidgetTypeDbRef_Table(refs->careerRef);
    s->player = BasicUiWidgetTypeDbRef_Table(refs->playerRef);
    if (!s->header || !s->npc || !s->game || !s->save || !s->career || !s->player) return 0;
    s->slot = BasicDbTable_GetElementI(s->career, 1, 0);
    s->gameRow = BasicDbTable_GetElementI(s->save, 1, s->slot);
    s->teamSize = BasicDbTable_GetElementI(s->game, 4, s->gameRow);
    s->entrants = BasicDbTable_GetElementI(s->game, 5, s->gameRow);
    if (s->entrants < 0 || s->entrants > kStandingsMaxEntrants) s->entrants = 0;
    s->nameColumn = s->teamSize == 1 ? 1 : 2;
    return 1;
}

int BasicUiStandings_Ready(sBasicUiWidget* w, sBasicUiStandingsRefs* refs, sBasicUiStandings* s, int fontLo,
                           int fontHi)
{
    if (!BasicUiStandings_Resolve(refs, s)) {
        static const char* const names[6] = {"headerRef", "npcRef", "gameRef", "saveRef", "careerRef", "playerRef"};
        sBasicUiWidget* const ref[6] = {refs->headerRef, refs->npcRef,    refs->gameRef,
                                        refs->saveRef,   refs->careerRef, refs->playerRef};
        for (int k = 0; k < 6; ++k) {
            if (BasicUiWidgetTypeDbRef_Table(ref[k])) continue;
            if (ref[k] && ref[k]->name)
                BasicUiWidget_ReportMissing(w, &refs->reported, "the table of", ref[k]->name);
            else
                BasicUiWidget_ReportMissing(w, &refs->reported, "the reference", names[k]);
            break;
        }
        return 0;
    }
    for (int font : {fontLo, fontHi})
        if (!BasicUi_FontExists(font)) {
            BasicUiWidget_ReportMissing(w, &refs->reported, "the font", std::to_string(font).c_str());
            return 0;
        }
    return 1;
}

int BasicUiStandings_Save(const sBasicUiStandings* s, int column, int element, int def)
{
    return BasicDbTable_GetElementIN(s->save, column, s->slot, element, def);
}

// A cell as text; a negative row (no such entrant or slot) gives an empty text, where the
// formatter would write the column's name.
static void Cell(sBasicDbTable* table, int row, int column, char* text, int size)
{
    text[0] = 0;
    if (row >= 0) BasicDbTable_PutElementOntoStr(table, row, column, text, size);
}

void BasicUiStandings_Name(const sBasicUiStandings* s, int entrant, char* text, int size)
{
    if (entrant == s->entrants - 1) {
        Cell(s->player, s->slot, s->nameColumn, text, size);
        return;
    }
    text[0] = 0;
    if (entrant < 0 || entrant >= s->entrants) return;
    int row = BasicDbTable_GetElementIN(s->game, 6, s->gameRow, entrant * s->teamSize, -1);
    Cell(s->npc, row, s->nameColumn, text, size);
}

void BasicUiStandings_Text(const sBasicUiStandings* s, int row, char* text, int size)
{
    Cell(s->header, row, 1, text, size);
}

int BasicUiStandings_ClampTop(int top, int rows, int count)
{
    long long maxTop = (long long)count - rows;
    if (maxTop < 0) maxTop = 0;
    if (maxTop > count) maxTop = count;
    if (top < 0) top = 0;
    return top < maxTop ? top : int(maxTop);
}

int BasicUiStandings_Last(int top, int rows, int count)
{
    const long long last = (long long)top + rows;
    return last < count ? int(last) : count;
}

int BasicUiStandings_RowY(int base, float row, float step, int offset)
{
    double y = double(base) + double(row) * double(step) + double(offset);
    if (!(y > -1e7)) y = -1e7;  // also a step that is not a number
    if (y > 1e7) y = 1e7;
    return int(y);
}

int BasicUiStandings_Select(int font) { return BasicUi_FontExists(font) && TextOutputSelectFont(font); }

void BasicUiStandings_RenderState()
{
    RenderSetAlphaLevel(255);
    RenderSetPenColor(0, 0, 0);
    RenderSetColorModulation(127, 127, 127);
}

void BasicUiStandings_Number(int x, int y, float sx, float sy, int alignX, const char* format, int value)
{
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    BasicUi_RenderScaledDbText(x, y, sx, sy, alignX, 0, text);
}

void BasicUiStandings_RenderList(const sBasicUiStandings* s, const sBasicUiStandingsList* l)
{
    char text[256];
    for (int k = 0; k < l->columns; ++k) {
        BasicUiStandings_Text(s, k, text, sizeof text);
        BasicUi_RenderScaledDbText(l->xc[k].value, l->titleY, l->headerSclX, l->headerSclY, 1, 0, text);
    }
    const int target = BasicDbTable_GetElementI(s->game, 8, s->gameRow);
    const int last = BasicUiStandings_Last(l->top, l->rows, s->entrants);
    for (int i = l->top; i < last; ++i) {
        const int e = BasicUiStandings_Save(s, 13, i, -1);
        const int y = BasicUiStandings_RowY(l->rowY, float(i - l->top), l->step);
        TextOutputSelectFont(e == s->entrants - 1 ? l->fontHi : l->fontLo);
        BasicUiStandings_Number(l->xc[0].value, y, l->sclX, l->sclY, 1, "%i", i + 1);
        if (e < 0 || e >= s->entrants) continue;  // a position not filled yet: its number only
        BasicUiStandings_Name(s, e, text, sizeof text);
        BasicUi_RenderScaledDbText(l->xc[1].value, y, l->sclX, l->sclY, 1, 0, text);
        const int games = BasicUiStandings_Save(s, 23, e, -1);
        const int values[4] = {games, target - games, BasicUiStandings_Save(s, 25, e, -1),
                               BasicUiStandings_Save(s, 26, e, -1)};
        for (int k = 2; k < l->columns; ++k) {
            if (l->naWithoutTarget && target == 0)
                BasicUi_RenderScaledDbText(l->xc[k].value, y, l->sclX, l->sclY, 1, 0, "n/a");
            else
                BasicUiStandings_Number(l->xc[k].value, y, l->sclX, l->sclY, 1, "%i", values[k - 2]);
        }
    }
}
