// The load command: names a resource, directly or through database cells, and holds a slot of the
// environment's resource loader for it; its sequence waits until the resource is in memory.
#pragma once

#include "ui/dbcellref.h"
#include "ui/environment.h"

enum { kBasicUiCmdLoadRefs = 6 };

struct sBasicUiWidgetTypeCmdLoad {
    sBasicUiValueINT resourceID, offsetID;
    sBasicUiValueINT groupIdx, groupSize, groupSlots;
    sBasicUiWidget* cmdLoad;  // run when a new load starts
    sBasicUiWidget* cmdDone;  // run when the resource is in memory
    sBasicUiValueINT queryType;
    sBasicUiValueBOOL isGroupItem;
    sBasicUiDbRef db[kBasicUiCmdLoadRefs];  // db0, db1, dbResource, dbOffset, dbCase0, dbCase1
    sBasicUiValueINT oType, sType;
    int slot;
    int internalID;
    int reported;  // a missing table was reported
};

sBasicUiWidgetTypeRef BasicUiWidgetTypeCmdLoad_Create(sBasicUiEnvironment* env);
int BasicUiWidgetTypeCmdLoad_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t);
int BasicUiWidgetTypeCmdLoad_SetProperty(sBasicUiWidget* w, sBasicUiProperty* p);
int BasicUiWidgetTypeCmdLoad_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetTypeCmdLoad_Render(sBasicUiWidget* w);
int BasicUiWidgetTypeCmdLoad_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

// Computes the resource id from the query; the ids are written only when their tables resolve.
void BasicUiWidgetTypeCmdLoad_UpdateDb(sBasicUiWidget* w, sBasicUiWidgetTypeCmdLoad* c);
// 1 when the sequence may go on: the resource is in memory (its "cmdDone" was run) or could not
// be read (the ids are cleared); 0 while it waits.
int BasicUiWidgetTypeCmdLoad_IsLoaded(sBasicUiWidget* w);
