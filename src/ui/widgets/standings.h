// The career standings widgets: the league table with its fixture generator, the knock-out tree,
// the ladder and the high-score table. None keeps league data of its own: each render reads the
// cells of six tables that the description names through database reference widgets (the texts,
// the computer entrants, the event definitions, the saved event state, the career slot and the
// player's own entrant).
#pragma once

#include "db/database.h"
#include "ui/environment.h"

// The six reference widgets every standings widget carries, in their property order.
struct sBasicUiStandingsRefs {
    sBasicUiWidget* headerRef;
    sBasicUiWidget* npcRef;
    sBasicUiWidget* gameRef;
    sBasicUiWidget* saveRef;
    sBasicUiWidget* careerRef;
    sBasicUiWidget* playerRef;
    int reported;  // a missing table or font has been reported for this widget
};

struct sBasicUiWidgetTypeLeagueTable {
    sBasicUiStandingsRefs refs;
    sBasicUiValueINT fontHeaderID;
    float fontHeaderSclX, fontHeaderSclY;
    sBasicUiValueINT fontLoID, fontHiID;
    float fontSclX, fontSclY, font2SclX, font2SclY, font3SclX, font3SclY;
    sBasicUiValueINT winID, winW, winH;
    sBasicUiValueINT week, weekX, weekY, top, rows, headerY;
    sBasicUiValueINT headerXC[9];
    sBasicUiValueINT rowY0;
    float stepY0;
    sBasicUiValueINT rowY1, stepY1;
};

// The tree and the ladder share their fields; the high-score columns are the ladder's only.
struct sBasicUiWidgetTypeTreeTable {
    sBasicUiStandingsRefs refs;
    sBasicUiValueINT flourishID, flourishW, flourishH, bracketID, bracketW, bracketH;
    sBasicUiValueINT imageBarRoundID, imageBarSemisID, imageBarFinalID, barW, barH;
    sBasicUiValueINT imagePipQuartersID, imagePipSemisID, imagePipFinalID, pipW, pipH;
    sBasicUiValueINT imageWinID, winW, winH, imageAdvID, advW, advH;
    sBasicUiValueINT fontHeaderID;
    float fontHeaderSclX, fontHeaderSclY;
    sBasicUiValueINT fontLoID, fontHiID;
    float fontSclX, fontSclY;
    sBasicUiValueINT fontOffX, fontOffY, round, rounds, top, rows, headerY;
    sBasicUiValueINT headerXA0, headerYA0, headerXB0, headerYB0, headerXB1, headerXB2, headerXB3, headerYB3;
    sBasicUiValueINT headerXR0, headerXR1, headerXR2;
    sBasicUiValueINT headerYC0, headerXC[6];  // the ladder's high-score list
    sBasicUiValueINT rowY0;
    float stepY0;
    sBasicUiValueINT rowY1, stepY1;
};
using sBasicUiWidgetTypeLadderTable = sBasicUiWidgetTypeTreeTable;

struct sBasicUiWidgetTypeScoreTable {
    sBasicUiStandingsRefs refs;
    sBasicUiValueINT fontHeaderID;
    float fontHeaderSclX, fontHeaderSclY;
    sBasicUiValueINT fontLoID, fontHiID;
    float fontSclX, fontSclY;
    sBasicUiValueINT top, rows, headerY, headerXC[6], rowY0;
    float stepY0;
    sBasicUiValueINT rowY1, stepY1;
};

// The saved league row keeps its weeks in columns 16 to 30 (16 + week).
enum { kLeagueFirstWeekColumn = 16, kLeagueWeekColumns = 15, kStandingsMaxEntrants = 256 };

sBasicUiWidgetTypeRef BasicUiWidgetTypeLeagueTable_Create(sBasicUiEnvironment* env);
int BasicUiWidgetTypeLeagueTable_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetTypeLeagueTable_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetTypeLeagueTable_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetTypeLeagueTable_Render(sBasicUiWidget* w);
int BasicUiWidgetTypeLeagueTable_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);
// top is kept at 0 or above; the week is kept as given and brought into the league's weeks when
// drawn. Neither does anything for a widget that is not a league table.
void BasicUiWidgetTypeLeagueTable_SetTop(sBasicUiWidget* w, int top);
void BasicUiWidgetTypeLeagueTable_SetWeek(sBasicUiWidget* w, int week);
// Fills the week columns firstColumn..endColumn-1 of one row with a double round-robin of an even
// number of entrants (2 to 256): week w pairs every entrant once, elements 2j and 2j + 1 being
// pairing j; each pair meets once in the first entrants - 1 weeks and the weeks after repeat them
// as far as the columns reach. Refuses a null table and an odd or out-of-range count with a
// message and writes nothing; returns 1 when it wrote the weeks.
int BasicUiWidgetTypeLeagueTable_GenerateFixtures(sBasicDbTable* table, int row, int firstColumn, int endColumn,
                                                  int entrants);

sBasicUiWidgetTypeRef BasicUiWidgetTypeTreeTable_Create(sBasicUiEnvironment* env);
int BasicUiWidgetTypeTreeTable_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetTypeTreeTable_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetTypeTreeTable_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetTypeTreeTable_Render(sBasicUiWidget* w);
int BasicUiWidgetTypeTreeTable_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);
void BasicUiWidgetTypeTreeTable_SetRound(sBasicUiWidget* w, int round);
void BasicUiWidgetTypeTreeTable_SetTop(sBasicUiWidget* w, int top);

sBasicUiWidgetTypeRef BasicUiWidgetTypeLadderTable_Create(sBasicUiEnvironment* env);
int BasicUiWidgetTypeLadderTable_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetTypeLadderTable_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetTypeLadderTable_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetTypeLadderTable_Render(sBasicUiWidget* w);
int BasicUiWidgetTypeLadderTable_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);
void BasicUiWidgetTypeLadderTable_SetRound(sBasicUiWidget* w, int round);
void BasicUiWidgetTypeLadderTable_SetTop(sBasicUiWidget* w, int top);

sBasicUiWidgetTypeRef BasicUiWidgetTypeScoreTable_Create(sBasicUiEnvironment* env);
int BasicUiWidgetTypeScoreTable_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetTypeScoreTable_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetTypeScoreTable_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetTypeScoreTable_Render(sBasicUiWidget* w);
int BasicUiWidgetTypeScoreTable_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);
void BasicUiWidgetTypeScoreTable_SetTop(sBasicUiWidget* w, int top);
