// What the knock-out tree and the ladder share: their record's defaults and properties, the header
// of a round column (bar, pip and label) and the drawing of one match as two entries joined by a
// bracket with the winner's marker.
#pragma once

#include "ui/widgets/standingsdata.h"

// A zeroed record with the defaults of both widgets, of the given type number.
sBasicUiWidgetTypeRef BasicUiBracket_Create(sBasicUiEnvironment* env, int type);
// The properties in their order; the ladder's high-score columns only when ladder is set.
void BasicUiBracket_AddProperties(sBasicUiWidgetTypeTreeTable* b, sBasicUiPropertyTracker* t, int ladder);

// Which bar and pip a round's header shows.
enum eBasicUiBracketStage { kBracketRound, kBracketQuarters, kBracketSemis, kBracketFinal };
// The header of a round column at (x, y): its bar, its pip (none for an ordinary round) and the
// label text, centred, in the header font when it exists.
void BasicUiBracket_Header(const sBasicUiWidgetTypeTreeTable* b, int x, int y, int stage, const char* label);

// One entry of a match: the entrant (negative: not known yet) and its score (negative: not played).
struct sBasicUiBracketEntry {
    int entrant, score;
    int named;  // 0: the unknown entrant's text is shown whatever the entrant
};
// Draws a match at row r of a column at x: flourishes behind both entries, the bracket, the texts
// ("score name", or the unknown text of header row unknownRow) and, when both scores are in,
// the marker by the winner (aWins says whether that is A).
void BasicUiBracket_Match(const sBasicUiWidgetTypeTreeTable* b, const sBasicUiStandings* s, int x, int r,
                          const sBasicUiBracketEntry& a, const sBasicUiBracketEntry& bEntry, int unknownRow,
                          int marker, int aWins);
