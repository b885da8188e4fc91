// The checks of a description once it is read (part of the loader, kept apart as its own pass).
#pragma once

#include "ui/environment.h"

// Walks every widget of the environment: brings the numbers that widgets compute with into the
// ranges their arithmetic can take and every float a widget keeps to a finite number, reports
// triggers that name widgets no element defines, and sequences whose calls lead back to themselves.
// Each finding is reported with the widget's name. 0 for a null environment, else 1.
int BasicUiEnvironment_CheckLoaded(sBasicUiEnvironment* env);
// The range the checks keep the widget's number `name` (integer or float) in, so that what changes
// it at run time keeps it there too: 1 with *least and *most, 0 for a number without one (one the
// widget hands on: a command's value, a resource's identifier).
int BasicUi_NumberLimits(const sBasicUiWidget* w, const char* name, int* least, int* most);
// Brings the property of the widget, just written at run time (a value command, a copy, an
// animation), into its range, value and initial (every part of a vector or rotation), silently; a
// float that is not a number becomes 0.
void BasicUi_KeepNumberInRange(const sBasicUiWidget* w, const sBasicUiProperty* p);
// A position or size computed at run time, saturated to the coordinates' range.
int BasicUi_ClampCoordinate(long long v);
// The same for one computed in floats, saturated before it becomes an integer (a float beyond an
// int's range has no integer value); 0 for one that is not a number.
int BasicUi_ClampCoordinateF(float v);
// The same for one computed in floats and kept as a float (a place a widget stores or writes
// into another), saturated to the coordinates' range; 0 for one that is not a number.
float BasicUi_KeepCoordinateF(float v);
