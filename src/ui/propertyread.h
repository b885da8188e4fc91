// Reading property values from a UI description's attributes: the value syntax of flags, bytes
// and integers (constants "#name", script variables "#[n]" with an optional default, literals
// with directive letters), floats, strings and references to named records.
#pragma once

#include "ui/environment.h"

struct sBasicXmlReader;

// Each reads the reader's current attribute value into the value; with setInitial the initial
// value follows. Returns 1 (0 for a null argument).
int BasicUiValueBOOL_Read(sBasicXmlReader* reader, sBasicUiValueBOOL* value, sBasicUiEnvironment* env, int setInitial);
int BasicUiValueBYTE_Read(sBasicXmlReader* reader, sBasicUiValueBYTE* value, sBasicUiEnvironment* env, int setInitial);
int BasicUiValueINT_Read(sBasicXmlReader* reader, sBasicUiValueINT* value, sBasicUiEnvironment* env, int setInitial);

// The named records that references resolve to. Displays, screens and widgets that do not exist
// yet are made (a display at the front of the list, a screen at the front of the first display's,
// a widget at the front of the first screen's top level) so that later elements can fill them.
sBasicUiDisplay* BasicUi_ResolveDisplayRef(sBasicUiEnvironment* env, const char* name);
sBasicUiScreen* BasicUi_ResolveScreenRef(sBasicUiEnvironment* env, const char* name);
sBasicUiWidget* BasicUi_ResolveWidgetRef(sBasicUiEnvironment* env, const char* name);

// The next attribute name of the open tag into the reader's attBuffer; 0 at the end of the tag. A
// name too long for the reader is passed over with its value, and the next one read.
int BasicUi_NextAttribute(sBasicXmlReader* reader);

// Applies the value text to one property (the widget type of a "typeWidget" excepted). Returns 1
// when the property took it.
int BasicUi_ReadPropertyValue(sBasicXmlReader* reader, sBasicUiProperty* property, sBasicUiEnvironment* env);

// Applies every remaining attribute of the element to the editable property of that name; unknown
// names are skipped. A "typeWidget" gives the widget its type and rebuilds the table, so that the
// type's own properties may follow in the same element.
int BasicUi_ReadProperties(sBasicXmlReader* reader, sBasicUiPropertyTracker* tracker, sBasicUiEnvironment* env);
