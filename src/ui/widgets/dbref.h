// The database reference widget: draws nothing, names a table cell (directly, or through a row
// number held in another table) that other widgets read an integer from, ask whether an element is
// locked, or draw the status icon of an element by.
#pragma once

#include "ui/dbcellref.h"
#include "ui/environment.h"

enum { kBasicUiStatusIcons = 7 };  // locked, unlocked, owned, won, third, second, first

struct sBasicUiStatusIcon {
    sBasicUiValueINT id, w, h;
};

struct sBasicUiWidgetTypeDbRef {
    sBasicUiDbRef db;
    sBasicUiValueBOOL hasIDb;
    sBasicUiDbRef idb;  // its table and column; its row is never read
    sBasicUiValueBOOL isStatusRef;
    sBasicUiStatusIcon icon[kBasicUiStatusIcons];
    int reported;  // a missing table or icon was reported
};

sBasicUiWidgetTypeRef BasicUiWidgetTypeDbRef_Create(sBasicUiEnvironment* env);
int BasicUiWidgetTypeDbRef_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetTypeDbRef_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetTypeDbRef_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetTypeDbRef_Render(sBasicUiWidget* w);
int BasicUiWidgetTypeDbRef_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

// Each gives null, 0 or nothing for a widget that is not a reference with a record, or when a
// table does not resolve.
sBasicDbTable* BasicUiWidgetTypeDbRef_Table(sBasicUiWidget* w);
int BasicUiWidgetTypeDbRef_GetDbInt(sBasicUiWidget* w);
// 1 when the status character at position element of the referenced cell is 'L'.
int BasicUiWidgetTypeDbRef_IsLocked(sBasicUiWidget* w, int element);
// The icon the status character selects, centred on (x, y); sets no colour or alpha.
void BasicUiWidgetTypeDbRef_RenderStatusIcon(sBasicUiWidget* w, int x, int y, int element);
// A bitmap resource's w x h region from (0, 0) centred on (x, y); nothing for id 0 or below.
void BasicUiWidgetTypeDbRef_RenderIcon(int x, int y, int w, int h, int id);
void BasicUiWidgetTypeDbRef_SetDbTableIndex(sBasicUiWidget* w, int row, int column);
