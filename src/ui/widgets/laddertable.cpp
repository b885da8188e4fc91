// The ladder table widget type: the high-score list of the qualifying games and the ladder's
// rungs, the matches from the top rung down to the round's own, with names and scores shown for
// that match only; the window of rungs never holds more than its rows.
#include <cstdio>

#include "lib/textoutput.h"
#include "ui/widgets/bracket.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

static sBasicUiWidgetTypeLadderTable* Ladder(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetTypeLadderTable>(w, EBasicUiWidgetTypeLadderTable);
}

sBasicUiWidgetTypeRef BasicUiWidgetTypeLadderTable_Create(sBasicUiEnvironment* env)
{
    return BasicUiBracket_Create(env, EBasicUiWidgetTypeLadderTable);
}

int BasicUiWidgetTypeLadderTable_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* b = Ladder(w);
    if (!b || !t) return 0;
    BasicUiBracket_AddProperties(b, t, 1);
    return 1;
}

int BasicUiWidgetTypeLadderTable_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
int BasicUiWidgetTypeLadderTable_Update(sBasicUiWidget*, float) { return 1; }
int BasicUiWidgetTypeLadderTable_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    return Ladder(w) ? BasicUiWidget_FreeRecord(env, w) : 0;
}

void BasicUiWidgetTypeLadderTable_SetRound(sBasicUiWidget* w, int round)
{
    if (auto* b = Ladder(w)) b->round.value = round;
}

void BasicUiWidgetTypeLadderTable_SetTop(sBasicUiWidget* w, int top)
{
    if (auto* b = Ladder(w)) b->top.value = top > 0 ? top : 0;
}

static void HighScore(sBasicUiWidgetTypeLadderTable* b, const sBasicUiStandings* s)
{
    if (!TextOutputSelectFont(b->fontLoID.value)) return;
    b->top.value = BasicUiStandings_ClampTop(b->top.value, b->rows.value, s->entrants);
    sBasicUiStandingsList list = {b->headerXC, 5, b->headerYC0.value, b->rowY1.value, b->top.value, b->rows.value,
                                  float(b->stepY1.value), b->fontLoID.value, b->fontHiID.value, b->fontHeaderSclX,
                                  b->fontHeaderSclY, b->fontSclX, b->fontSclY, 1};
    BasicUiStandings_RenderList(s, &list);
}

// One column of rungs: the header, and with entries the matches up to the current one (save column
// 17: the two entrants of match k at 2k and 2k + 1, their scores from 2R on).
static void RenderRound(sBasicUiWidgetTypeLadderTable* b, const sBasicUiStandings* s, int rounds, int x, int y,
                        int round, int withEntries)
{
    char text[256], label[300];
    int stage = kBracketRound;
    if (round >= rounds - 2) stage = kBracketFinal;
    else if (round == rounds - 3) stage = kBracketSemis;
    else if (round == rounds - 4) stage = kBracketQuarters;
    if (stage == kBracketFinal) {
        BasicUiStandings_Text(s, 7, label, 256);
    } else {
        BasicUiStandings_Text(s, 6, text, sizeof text);
        std::snprintf(label, sizeof label, "%s %i", text, round + 1);
    }
    BasicUiBracket_Header(b, x, y, stage, label);
    if (!withEntries) return;
    // The window holds as many matches as its rows have room for (two rows each) and ends with
    // the round's own match, the one named, so that match is always on the screen.
    const int matches = rounds - 1 - round;
    const int half = b->rows.value / 2 > 0 ? b->rows.value / 2 : 1;
    const int first = matches - half > 0 ? matches - half : 0;
    const int shown = BasicUiStandings_Save(s, 14, 0, -1) >= 0;
    for (int k = first; k < matches; ++k) {
        const int current = k == matches - 1 && shown;
        sBasicUiBracketEntry a = {BasicUiStandings_Save(s, 17, 2 * k, -1),
                                  BasicUiStandings_Save(s, 17, 2 * rounds + 2 * k, -1), current};
        sBasicUiBracketEntry c = {BasicUiStandings_Save(s, 17, 2 * k + 1, -1),
                                  BasicUiStandings_Save(s, 17, 2 * rounds + 2 * k + 1, -1), current};
        BasicUiBracket_Match(b, s, x, 2 * (k - first), a, c, 8, k == matches - 1, a.score > c.score);
    }
}

int BasicUiWidgetTypeLadderTable_Render(sBasicUiWidget* w)
{
    auto* b = Ladder(w);
    if (!b) return 0;
    sBasicUiStandings s;
    if (!BasicUiStandings_Ready(w, &b->refs, &s, b->fontLoID.value, b->fontHiID.value)) return 1;
    const int previous = TextOutputGetFontRSID();
    BasicUiStandings_RenderState();
    HighScore(b, &s);
    // The rungs: a ladder of R places has R - 1 matches; more than 256 places is beyond an event.
    const int rounds = BasicDbTable_GetElementI(s.game, 9, s.gameRow);
    if (s.gameRow >= 0 && rounds >= 2 && rounds <= kStandingsMaxEntrants) {
        int round = b->round.value < rounds - 2 ? b->round.value : rounds - 2;
        round = b->round.value = round > 0 ? round : 0;
        RenderRound(b, &s, rounds, b->headerXR1.value, b->headerY.value, round, 1);
        RenderRound(b, &s, rounds, b->headerXR2.value, b->headerY.value, round, 0);
    }
    if (previous >= 0) TextOutputSelectFont(previous);
    return 1;
}
