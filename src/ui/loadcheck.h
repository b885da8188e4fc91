// The checks of a description once it is read (part of the loader, kept apart as its own pass).
#pragma once

#include "ui/environment.h"

// Walks every widget of the environment: brings the numbers that buttons, soft boxes and dialogs
// compute with into the ranges their arithmetic can take and every float a widget keeps to a
// finite number, reports triggers that name widgets no element defines, and sequences whose calls
// lead back to themselves. Each finding is reported with the widget's name. 0 for a null
// environment, else 1.
int BasicUiEnvironment_CheckLoaded(sBasicUiEnvironment* env);
// The range the checks keep the widget's number `name` in, so that what changes it at run time (a
// value command) keeps it there too: 1 with *least and *most, 0 for a number without one.
int BasicUi_NumberLimits(const sBasicUiWidget* w, const char* name, int* least, int* most);
