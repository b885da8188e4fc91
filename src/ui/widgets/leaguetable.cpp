// The league table widget type: the standings of the career's league (position, name and four
// statistics per entrant), and for the chosen week each entrant's opponent and their result with
// a marker by the winner's row.
#include <cstdio>

#include "lib/printing.h"
#include "lib/textoutput.h"
#include "ui/draw2d.h"
#include "ui/widgets/standingsdata.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

static sBasicUiWidgetTypeLeagueTable* Table(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetTypeLeagueTable>(w, EBasicUiWidgetTypeLeagueTable);
}

sBasicUiWidgetTypeRef BasicUiWidgetTypeLeagueTable_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeLeagueTable* t = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeLeagueTable, &t);
    if (!t) return ref;
    t->fontHeaderID = t->fontLoID = t->fontHiID = t->winID = BasicUiValueINT_Make(-1);
    t->fontHeaderSclX = t->fontHeaderSclY = t->fontSclX = t->fontSclY = 1.0f;
    t->font2SclX = t->font2SclY = t->font3SclX = t->font3SclY = t->stepY0 = 1.0f;
    t->rows = BasicUiValueINT_Make(8);
    return ref;
}

int BasicUiWidgetTypeLeagueTable_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* l = Table(w);
    if (!l || !t) return 0;
    auto integer = [t](const char* name, sBasicUiValueINT* v) {
        BasicUiPropertyTracker_Add(t, name, eBasicUiPropertyTypeINT, v, 1, 1);
    };
    auto real = [t](const char* name, float* v) { BasicUiPropertyTracker_Add(t, name, eBasicUiPropertyTypeFLT, v, 1, 0); };
    BasicUiStandings_AddRefs(&l->refs, t);
    integer("fontHeaderID", &l->fontHeaderID);
    real("fontHeaderSclX", &l->fontHeaderSclX);
    real("fontHeaderSclY", &l->fontHeaderSclY);
    integer("fontLoID", &l->fontLoID);
    integer("fontHiID", &l->fontHiID);
    real("fontSclX", &l->fontSclX);
    real("fontSclY", &l->fontSclY);
    real("font2SclX", &l->font2SclX);
    real("font2SclY", &l->font2SclY);
    real("font3SclX", &l->font3SclX);
    real("font3SclY", &l->font3SclY);
    integer("winID", &l->winID);
    integer("winW", &l->winW);
    integer("winH", &l->winH);
    integer("week", &l->week);
    integer("weekX", &l->weekX);
    integer("weekY", &l->weekY);
    integer("top", &l->top);
    integer("rows", &l->rows);
    integer("headerY", &l->headerY);
    static const char* const xc[9] = {"headerXC0", "headerXC1", "headerXC2", "headerXC3", "headerXC4",
                                      "headerXC5", "headerXC6", "headerXC7", "headerXC8"};
    for (int k = 0; k < 9; ++k) integer(xc[k], &l->headerXC[k]);
    integer("rowY0", &l->rowY0);
    real("stepY0", &l->stepY0);
    integer("rowY1", &l->rowY1);
    integer("stepY1", &l->stepY1);
    return 1;
}

int BasicUiWidgetTypeLeagueTable_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
int BasicUiWidgetTypeLeagueTable_Update(sBasicUiWidget*, float) { return 1; }
int BasicUiWidgetTypeLeagueTable_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    return Table(w) ? BasicUiWidget_FreeRecord(env, w) : 0;
}

void BasicUiWidgetTypeLeagueTable_SetTop(sBasicUiWidget* w, int top)
{
    if (auto* l = Table(w)) l->top.value = top > 0 ? top : 0;
}

void BasicUiWidgetTypeLeagueTable_SetWeek(sBasicUiWidget* w, int week)
{
    if (auto* l = Table(w)) l->week.value = week;
}

// The week brought into the weeks the league has: no later than its last week, its last round
// (2N - 3) or the last week column, and never before week 0 (also for a league of no weeks, whose
// table shows week 0's empty column).
static int ClampWeek(int week, int weeks, int entrants)
{
    int count = weeks;
    if (count > 2 * entrants - 2) count = 2 * entrants - 2;
    if (count > kLeagueWeekColumns) count = kLeagueWeekColumns;
    if (week > count - 1) week = count - 1;
    return week > 0 ? week : 0;
}

int BasicUiWidgetTypeLeagueTable_Render(sBasicUiWidget* w)
{
    auto* l = Table(w);
    if (!l) return 0;
    sBasicUiStandings s;
    const int lo = l->fontLoID.value, hi = l->fontHiID.value;
    const int previous = TextOutputGetFontRSID();
    if (!BasicUiStandings_Ready(w, &l->refs, &s, lo, hi) || !TextOutputSelectFont(lo)) return 1;
    const int n = s.entrants;
    const int week = l->week.value = ClampWeek(l->week.value, BasicDbTable_GetElementI(s.game, 7, s.gameRow), n);
    const int top = l->top.value = BasicUiStandings_ClampTop(l->top.value, l->rows.value, n);
    const int column = kLeagueFirstWeekColumn + week;
    BasicUiStandings_RenderState();

    char text[256];
    for (int k = 0; k < 8; ++k) {
        BasicUiStandings_Text(&s, k, text, sizeof text);
        BasicUi_RenderScaledDbText(l->headerXC[k].value, l->headerY.value, l->fontHeaderSclX, l->fontHeaderSclY, 1, 0,
                                   text);
    }
    BasicUiStandings_Text(&s, 9, text, sizeof text);
    char label[300];
    std::snprintf(label, sizeof label, "%s %i", text, week + 1);
    BasicUi_RenderScaledDbText(l->weekX.value, l->weekY.value, l->font3SclX, l->font3SclY, 0, 0, label);

    const int last = BasicUiStandings_Last(top, l->rows.value, n);
    for (int i = top; i < last; ++i) {
        const int e = BasicUiStandings_Save(&s, 13, i, -1);
        const int r = i - top;
        const int yA = BasicUiStandings_RowY(l->rowY0.value, float(r), l->stepY0);
        const int yB = BasicUiStandings_RowY(l->rowY1.value, float(r), l->stepY0);
        TextOutputSelectFont(e == n - 1 ? hi : lo);
        BasicUiStandings_Number(l->headerXC[0].value, yA, l->fontSclX, l->fontSclY, 1, "%i", i + 1);
        // A position the standings have not filled yet shows its number only: its cells would read
        // the pairings as scores.
        if (e < 0 || e >= n) continue;
        BasicUiStandings_Name(&s, e, text, sizeof text);
        BasicUi_RenderScaledDbText(l->headerXC[1].value, yA, l->fontSclX, l->fontSclY, 1, 0, text);
        for (int k = 0; k < 4; ++k)
            BasicUiStandings_Number(l->headerXC[2 + k].value, yA, l->fontSclX, l->fontSclY, 1, "%i",
                                    BasicUiStandings_Save(&s, 31 + k, e, -1));

        // The week's opponent from its pairings; an entrant in no pairing plays itself.
        int o = e;
        for (int j = 0; j < n / 2; ++j) {
            const int a = BasicUiStandings_Save(&s, column, 2 * j, -1), b = BasicUiStandings_Save(&s, column, 2 * j + 1, -1);
            if (a == e || b == e) {
                o = a == e ? b : a;
                break;
            }
        }
        BasicUiStandings_Name(&s, o, text, sizeof text);
        BasicUi_RenderScaledDbText(l->headerXC[6].value, yB, l->font2SclX, l->font2SclY, 1, 0, text);

        const int score = BasicUiStandings_Save(&s, column, 2 * n + e, -1);
        const int other = BasicUiStandings_Save(&s, column, 2 * n + o, -1);
        const int x = l->headerXC[7].value;
        if (score < 0 || other < 0) {
            BasicUiStandings_Text(&s, 8, text, sizeof text);
            BasicUi_RenderScaledDbText(x, yB, l->font2SclX, l->font2SclY, 1, 0, text);
            continue;
        }
        // One text with a space either side of the dash, so that the second score cannot read as
        // a negative number; placed so that the dash ends at the column's x, as the scores of
        // every row line up on it.
        char result[32], head[16];
        std::snprintf(result, sizeof result, "%i - %i", score, other);
        std::snprintf(head, sizeof head, "%i -", score);
        int minX, minY, dashEnd, maxY;
        if (!BasicUi_BoundsScaledDbText(0, 0, l->font2SclX, l->font2SclY, 0, 0, head, &minX, &minY, &dashEnd, &maxY))
            dashEnd = 0;
        BasicUi_RenderScaledDbText(x - dashEnd, yB, l->font2SclX, l->font2SclY, 0, 0, result);
        // The marker stands on the winner's own row (a tie marks both); a loss has none, so no
        // marker floats between two rows.
        if (score >= other)
            BasicUi_RenderScaledImage(l->headerXC[8].value, yB, l->winW.value, l->winH.value, l->winID.value);
    }
    if (previous >= 0) TextOutputSelectFont(previous);
    return 1;
}

int BasicUiWidgetTypeLeagueTable_GenerateFixtures(sBasicDbTable* table, int row, int firstColumn, int endColumn,
                                                  int entrants)
{
    if (!table) {
        PrintError("leaguetable: no table to write the fixtures into");
        return 0;
    }
    if (entrants < 2 || entrants > kStandingsMaxEntrants || entrants % 2) {
        // An odd count leaves one entrant without a partner every week and the rotation repeats
        // pairs before all have met.
        PrintError("leaguetable: fixtures need an even number of entrants from 2 to %i, not %i", kStandingsMaxEntrants,
                   entrants);
        return 0;
    }
    int weeks = endColumn - firstColumn;
    if (weeks > entrants - 1) weeks = entrants - 1;
    if (weeks < 1) return 0;
    const int half = entrants / 2;
    // The circle method: entrant 0 stays in place while the others turn one step a week.
    for (int w = 0; w < weeks; ++w) {
        const int c = firstColumn + w;
        const int count = BasicDbTable_GetElementCount(table, c);
        for (int k = 0; k < count; ++k) BasicDbTable_SetElementIN(table, c, row, k, 0);
        for (int j = 0; j < half; ++j) {
            int a = j, b = j + half;
            if (w > 0) {
                auto prev = [&](int k) { return BasicDbTable_GetElementIN(table, c - 1, row, k, -1); };
                a = j == 0 ? 0 : j == 1 ? prev(1) : prev(2 * (j - 1));
                b = j < half - 1 ? prev(2 * (j + 1) + 1) : prev(2 * (half - 1));
            }
            BasicDbTable_SetElementIN(table, c, row, 2 * j, a);
            BasicDbTable_SetElementIN(table, c, row, 2 * j + 1, b);
            const int mirror = firstColumn + (entrants - 1) + w;
            if (mirror < endColumn) {
                BasicDbTable_SetElementIN(table, mirror, row, 2 * j, a);
                BasicDbTable_SetElementIN(table, mirror, row, 2 * j + 1, b);
            }
        }
    }
    return 1;
}
