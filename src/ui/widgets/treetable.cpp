// The tournament tree widget type: three consecutive rounds of a knock-out bracket side by side,
// the last of them as a header only, each match two entries joined by a bracket with a marker by
// the winner. The bracket holds 2 to 256 positions; the final's column also lists the match for
// third place.
#include <cmath>
#include <cstdio>

#include "lib/textoutput.h"
#include "ui/widgets/bracket.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

static sBasicUiWidgetTypeTreeTable* Tree(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetTypeTreeTable>(w, EBasicUiWidgetTypeTreeTable);
}

sBasicUiWidgetTypeRef BasicUiWidgetTypeTreeTable_Create(sBasicUiEnvironment* env)
{
    return BasicUiBracket_Create(env, EBasicUiWidgetTypeTreeTable);
}

int BasicUiWidgetTypeTreeTable_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* b = Tree(w);
    if (!b || !t) return 0;
    BasicUiBracket_AddProperties(b, t, 0);
    return 1;
}

int BasicUiWidgetTypeTreeTable_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
int BasicUiWidgetTypeTreeTable_Update(sBasicUiWidget*, float) { return 1; }
int BasicUiWidgetTypeTreeTable_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    return Tree(w) ? BasicUiWidget_FreeRecord(env, w) : 0;
}

void BasicUiWidgetTypeTreeTable_SetRound(sBasicUiWidget* w, int round)
{
    if (auto* b = Tree(w)) b->round.value = round;
}

void BasicUiWidgetTypeTreeTable_SetTop(sBasicUiWidget* w, int top)
{
    if (auto* b = Tree(w)) b->top.value = top > 0 ? top : 0;
}

// One round's column: its header and, with entries, the visible pairs of its positions (save
// column 17 + round: positions, then their scores).
static void RenderRound(sBasicUiWidgetTypeTreeTable* b, const sBasicUiStandings* s, int positions, int rounds, int x,
                        int y, int round, int withEntries)
{
    char label[300];
    int stage = kBracketRound;
    if (round >= rounds - 1) {
        stage = kBracketFinal;
        BasicUiStandings_Text(s, 3, label, 256);
    } else if (round == rounds - 2) {
        stage = kBracketSemis;
        BasicUiStandings_Text(s, 2, label, 256);
    } else if (round == rounds - 3) {
        stage = kBracketQuarters;
        BasicUiStandings_Text(s, 1, label, 256);
    } else {
        char text[256];
        BasicUiStandings_Text(s, 0, text, sizeof text);
        std::snprintf(label, sizeof label, "%s %i", text, round + 1);
    }
    BasicUiBracket_Header(b, x, y, stage, label);
    const int top = b->top.value = BasicUiStandings_ClampTop(b->top.value, b->rows.value, positions);
    if (!withEntries) return;
    // The final's column holds the final pair and the pair playing for third place.
    const int count = (1 << (rounds - round)) + (round == rounds - 1 ? 2 : 0);
    const int column = 17 + round;
    TextOutputSelectFont(b->fontLoID.value);
    for (int i = 0; i < count; i += 2) {
        if (i < top || i >= BasicUiStandings_Last(top, b->rows.value, count)) continue;
        sBasicUiBracketEntry a = {BasicUiStandings_Save(s, column, i, -1), BasicUiStandings_Save(s, column, count + i, -1), 1};
        sBasicUiBracketEntry c = {BasicUiStandings_Save(s, column, i + 1, -1),
                                  BasicUiStandings_Save(s, column, count + i + 1, -1), 1};
        // A tie goes to the player's own entrant; between computer entrants to the second.
        const int aWins = a.score > c.score || (a.score == c.score && a.entrant == s->entrants - 1);
        BasicUiBracket_Match(b, s, x, i - top, a, c, 4, 1, aWins);
    }
}

int BasicUiWidgetTypeTreeTable_Render(sBasicUiWidget* w)
{
    auto* b = Tree(w);
    if (!b) return 0;
    sBasicUiStandings s;
    if (!BasicUiStandings_Ready(w, &b->refs, &s, b->fontLoID.value, b->fontHiID.value) || s.gameRow < 0) return 1;
    // A bracket of fewer than two positions has no rounds (and no logarithm); one of more than 256
    // is beyond what an event holds.
    const int positions = BasicDbTable_GetElementI(s.game, 9, s.gameRow);
    if (positions < 2 || positions > kStandingsMaxEntrants) return 1;
    const int rounds = int(std::log(double(positions)) / std::log(2.0) + 0.5);
    int round = b->round.value < rounds - 2 ? b->round.value : rounds - 2;
    round = b->round.value = round > 0 ? round : 0;
    const int previous = TextOutputGetFontRSID();
    BasicUiStandings_RenderState();
    const int x[3] = {b->headerXR0.value, b->headerXR1.value, b->headerXR2.value};
    // The third column, and any round past the final, shows its header only.
    for (int k = 0; k < 3 && round + k <= rounds; ++k)
        RenderRound(b, &s, positions, rounds, x[k], b->headerY.value, round + k, k < 2 && round + k < rounds);
    if (previous >= 0) TextOutputSelectFont(previous);
    return 1;
}
