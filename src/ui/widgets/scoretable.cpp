// The score table widget type: the standings of a high-score event, one row per position with the
// name, games bowled, games still to bowl, pins and average.
#include "lib/textoutput.h"
#include "ui/widgets/standingsdata.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

static sBasicUiWidgetTypeScoreTable* Table(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetTypeScoreTable>(w, EBasicUiWidgetTypeScoreTable);
}

sBasicUiWidgetTypeRef BasicUiWidgetTypeScoreTable_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeScoreTable* t = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeScoreTable, &t);
    if (!t) return ref;
    t->fontHeaderID = t->fontLoID = t->fontHiID = BasicUiValueINT_Make(-1);
    t->fontHeaderSclX = t->fontHeaderSclY = t->fontSclX = t->fontSclY = t->stepY0 = 1.0f;
    t->rows = BasicUiValueINT_Make(10);
    return ref;
}

int BasicUiWidgetTypeScoreTable_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* s = Table(w);
    if (!s || !t) return 0;
    auto integer = [t](const char* name, sBasicUiValueINT* v) {
        BasicUiPropertyTracker_Add(t, name, eBasicUiPropertyTypeINT, v, 1, 1);
    };
    auto real = [t](const char* name, float* v) { BasicUiPropertyTracker_Add(t, name, eBasicUiPropertyTypeFLT, v, 1, 0); };
    BasicUiStandings_AddRefs(&s->refs, t);
    integer("fontHeaderID", &s->fontHeaderID);
    real("fontHeaderSclX", &s->fontHeaderSclX);
    real("fontHeaderSclY", &s->fontHeaderSclY);
    integer("fontLoID", &s->fontLoID);
    integer("fontHiID", &s->fontHiID);
    real("fontSclX", &s->fontSclX);
    real("fontSclY", &s->fontSclY);
    integer("top", &s->top);
    integer("rows", &s->rows);
    integer("headerY", &s->headerY);
    static const char* const xc[6] = {"headerXC0", "headerXC1", "headerXC2", "headerXC3", "headerXC4", "headerXC5"};
    for (int k = 0; k < 6; ++k) integer(xc[k], &s->headerXC[k]);
    integer("rowY0", &s->rowY0);
    real("stepY0", &s->stepY0);
    integer("rowY1", &s->rowY1);
    integer("stepY1", &s->stepY1);
    return 1;
}

int BasicUiWidgetTypeScoreTable_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
int BasicUiWidgetTypeScoreTable_Update(sBasicUiWidget*, float) { return 1; }
int BasicUiWidgetTypeScoreTable_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    return Table(w) ? BasicUiWidget_FreeRecord(env, w) : 0;
}

void BasicUiWidgetTypeScoreTable_SetTop(sBasicUiWidget* w, int top)
{
    if (auto* s = Table(w)) s->top.value = top > 0 ? top : 0;
}

int BasicUiWidgetTypeScoreTable_Render(sBasicUiWidget* w)
{
    auto* t = Table(w);
    if (!t) return 0;
    sBasicUiStandings s;
    const int previous = TextOutputGetFontRSID();
    if (!BasicUiStandings_Ready(w, &t->refs, &s, t->fontLoID.value, t->fontHiID.value) ||
        !TextOutputSelectFont(t->fontLoID.value))
        return 1;
    t->top.value = BasicUiStandings_ClampTop(t->top.value, t->rows.value, s.entrants);
    BasicUiStandings_RenderState();
    sBasicUiStandingsList list = {t->headerXC, 6, t->headerY.value, t->rowY0.value, t->top.value, t->rows.value,
                                  t->stepY0, t->fontLoID.value, t->fontHiID.value, t->fontHeaderSclX,
                                  t->fontHeaderSclY, t->fontSclX, t->fontSclY, 0};
    BasicUiStandings_RenderList(&s, &list);
    if (previous >= 0) TextOutputSelectFont(previous);
    return 1;
}
