// The drawing that the knock-out tree and the ladder share: a round column's header and one match
// with its two entries, bracket and winner's marker, and the two widgets' common properties.
#include "ui/widgets/bracket.h"

#include <cstdio>

#include "lib/textoutput.h"
#include "ui/draw2d.h"
#include "ui/widgets/widgetrecord.h"

sBasicUiWidgetTypeRef BasicUiBracket_Create(sBasicUiEnvironment* env, int type)
{
    sBasicUiWidgetTypeTreeTable* b = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, type, &b);
    if (!b) return ref;
    const sBasicUiValueINT none = BasicUiValueINT_Make(-1);
    sBasicUiValueINT* images[] = {&b->flourishID, &b->flourishW, &b->flourishH, &b->bracketID, &b->bracketW,
                                  &b->bracketH, &b->imageBarRoundID, &b->imageBarSemisID, &b->imageBarFinalID,
                                  &b->barW, &b->barH, &b->imagePipQuartersID, &b->imagePipSemisID,
                                  &b->imagePipFinalID, &b->pipW, &b->pipH, &b->imageWinID, &b->winW, &b->winH,
                                  &b->imageAdvID, &b->advW, &b->advH, &b->fontHeaderID, &b->fontLoID,
                                  &b->fontHiID, &b->round, &b->rounds};
    for (sBasicUiValueINT* v : images) *v = none;
    b->fontHeaderSclX = b->fontHeaderSclY = b->fontSclX = b->fontSclY = b->stepY0 = 1.0f;
    b->rows = BasicUiValueINT_Make(10);
    b->stepY1 = BasicUiValueINT_Make(1);
    return ref;
}

void BasicUiBracket_AddProperties(sBasicUiWidgetTypeTreeTable* b, sBasicUiPropertyTracker* t, int ladder)
{
    auto integer = [t](const char* name, sBasicUiValueINT* v) {
        BasicUiPropertyTracker_Add(t, name, eBasicUiPropertyTypeINT, v, 1, 1);
    };
    auto real = [t](const char* name, float* v) { BasicUiPropertyTracker_Add(t, name, eBasicUiPropertyTypeFLT, v, 1, 0); };
    BasicUiStandings_AddRefs(&b->refs, t);
    integer("fontHeaderID", &b->fontHeaderID);
    real("fontHeaderSclX", &b->fontHeaderSclX);
    real("fontHeaderSclY", &b->fontHeaderSclY);
    integer("fontLoID", &b->fontLoID);
    integer("fontHiID", &b->fontHiID);
    real("fontSclX", &b->fontSclX);
    real("fontSclY", &b->fontSclY);
    struct Row {
        const char* name;
        sBasicUiValueINT* v;
    };
    const Row layout[] = {{"fontOffX", &b->fontOffX},   {"fontOffY", &b->fontOffY},   {"round", &b->round},
                          {"rounds", &b->rounds},       {"top", &b->top},             {"rows", &b->rows},
                          {"headerY", &b->headerY},     {"headerXA0", &b->headerXA0}, {"headerYA0", &b->headerYA0},
                          {"headerXB0", &b->headerXB0}, {"headerYB0", &b->headerYB0}, {"headerXB1", &b->headerXB1},
                          {"headerXB2", &b->headerXB2}, {"headerXB3", &b->headerXB3}, {"headerYB3", &b->headerYB3},
                          {"headerXR0", &b->headerXR0}, {"headerXR1", &b->headerXR1}, {"headerXR2", &b->headerXR2}};
    for (const Row& r : layout) integer(r.name, r.v);
    if (ladder) {
        integer("headerYC0", &b->headerYC0);
        static const char* const xc[6] = {"headerXC0", "headerXC1", "headerXC2", "headerXC3", "headerXC4", "headerXC5"};
        for (int k = 0; k < 6; ++k) integer(xc[k], &b->headerXC[k]);
    }
    integer("rowY0", &b->rowY0);
    real("stepY0", &b->stepY0);
    integer("rowY1", &b->rowY1);
    integer("stepY1", &b->stepY1);
    const Row images[] = {{"flourishID", &b->flourishID},
                          {"flourishW", &b->flourishW},
                          {"flourishH", &b->flourishH},
                          {"bracketID", &b->bracketID},
                          {"bracketW", &b->bracketW},
                          {"bracketH", &b->bracketH},
                          {"imageBarRoundID", &b->imageBarRoundID},
                          {"imageBarSemisID", &b->imageBarSemisID},
                          {"imageBarFinalID", &b->imageBarFinalID},
                          {"barW", &b->barW},
                          {"barH", &b->barH},
                          {"imagePipQuartersID", &b->imagePipQuartersID},
                          {"imagePipSemisID", &b->imagePipSemisID},
                          {"imagePipFinalID", &b->imagePipFinalID},
                          {"pipW", &b->pipW},
                          {"pipH", &b->pipH},
                          {"imageWinID", &b->imageWinID},
                          {"winW", &b->winW},
                          {"winH", &b->winH},
                          {"imageAdvID", &b->imageAdvID},
                          {"advW", &b->advW},
                          {"advH", &b->advH}};
    for (const Row& r : images) integer(r.name, r.v);
}

void BasicUiBracket_Header(const sBasicUiWidgetTypeTreeTable* b, int x, int y, int stage, const char* label)
{
    const int bar = stage == kBracketFinal   ? b->imageBarFinalID.value
                    : stage == kBracketSemis ? b->imageBarSemisID.value
                                             : b->imageBarRoundID.value;
    BasicUi_RenderScaledImage(x, y, b->barW.value, b->barH.value, bar);
    const int pip = stage == kBracketFinal      ? b->imagePipFinalID.value
                    : stage == kBracketSemis    ? b->imagePipSemisID.value
                    : stage == kBracketQuarters ? b->imagePipQuartersID.value
                                                : -1;
    if (pip != -1)
        BasicUi_RenderScaledImage(x + b->headerXA0.value, y + b->headerYA0.value, b->pipW.value, b->pipH.value, pip);
    BasicUiStandings_Select(b->fontHeaderID.value);
    BasicUi_RenderScaledDbText(x + b->headerXB0.value, y + b->headerYB0.value, b->fontHeaderSclX, b->fontHeaderSclY,
                               1, 0, label);
}

static void Entry(const sBasicUiWidgetTypeTreeTable* b, const sBasicUiStandings* s, int x, int row,
                  const sBasicUiBracketEntry& e, int unknownRow)
{
    char text[300] = {0};
    const bool player = e.named && e.entrant >= 0 && e.entrant == s->entrants - 1;
    if (!e.named || e.entrant < 0) {
        BasicUiStandings_Text(s, unknownRow, text, sizeof text);
    } else {
        char name[256];
        BasicUiStandings_Name(s, e.entrant, name, sizeof name);
        if (e.score >= 0)
            std::snprintf(text, sizeof text, "%i %s", e.score, name);
        else
            std::snprintf(text, sizeof text, "%s", name);
    }
    if (player) TextOutputSelectFont(b->fontHiID.value);
    const int y = BasicUiStandings_RowY(b->rowY0.value, float(row), b->stepY0, b->fontOffY.value);
    BasicUi_RenderScaledDbText(x + b->headerXB1.value + b->headerXB2.value + b->flourishW.value + b->fontOffX.value, y,
                               b->fontSclX, b->fontSclY, 2, 0, text);
    if (player) TextOutputSelectFont(b->fontLoID.value);
}

void BasicUiBracket_Match(const sBasicUiWidgetTypeTreeTable* b, const sBasicUiStandings* s, int x, int r,
                          const sBasicUiBracketEntry& a, const sBasicUiBracketEntry& bEntry, int unknownRow,
                          int marker, int aWins)
{
    const int fx = x + b->headerXB1.value;
    for (int k = 0; k < 2; ++k)
        BasicUi_RenderScaledImage(fx, BasicUiStandings_RowY(b->rowY0.value, float(r + k), b->stepY0), b->flourishW.value,
                                  b->flourishH.value, b->flourishID.value);
    const int bx = fx + b->headerXB3.value + b->flourishW.value;
    const int by = BasicUiStandings_RowY(b->rowY0.value, float(r), b->stepY0, b->headerYB3.value);
    BasicUi_RenderScaledImage(bx, by, b->bracketW.value, b->bracketH.value, b->bracketID.value);
    TextOutputSelectFont(b->fontLoID.value);
    Entry(b, s, x, r, a, unknownRow);
    Entry(b, s, x, r + 1, bEntry, unknownRow);
    if (!marker || a.score < 0 || bEntry.score < 0) return;
    const int h = b->bracketH.value, wh = b->winH.value;
    const int d = aWins ? h / 4 - wh / 2 : 3 * h / 4 - wh / 2;
    BasicUi_RenderScaledImage(bx, by + d, b->winW.value, wh, b->imageWinID.value);
}
