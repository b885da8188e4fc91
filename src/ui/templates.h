// Definition and instance widgets: a definition holds a group of widgets as its subtree and names
// up to five text placeholders; an instance names a definition and supplies up to five texts and
// five integers. When the loader has read an instance's element, generation copies the
// definition's subtree under the instance with the placeholders replaced.
#pragma once

#include "ui/environment.h"

enum { kBasicUiTemplateSlots = 5 };

struct sBasicUiWidgetTypeDefinition {
    sBasicUiValueINT sn;  // text placeholders in use (0 to 5)
    char* s[kBasicUiTemplateSlots];  // the placeholder texts searched for
    sBasicUiValueINT in;  // documents the integer slots; generation does not read it
    char* i[kBasicUiTemplateSlots];  // names of the integer slots
};

struct sBasicUiWidgetTypeInstance {
    sBasicUiWidget* definition;
    sBasicUiValueINT sn;
    char* s[kBasicUiTemplateSlots];  // replacement texts, by placeholder number
    sBasicUiValueINT in;  // integer values in use
    sBasicUiValueINT i[kBasicUiTemplateSlots];  // integer values, by variable number
};

sBasicUiWidgetTypeRef BasicUiWidgetTypeDefinition_Create(sBasicUiEnvironment* env);
int BasicUiWidgetTypeDefinition_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetTypeDefinition_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetTypeDefinition_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetTypeDefinition_Render(sBasicUiWidget* w);
int BasicUiWidgetTypeDefinition_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

sBasicUiWidgetTypeRef BasicUiWidgetTypeInstance_Create(sBasicUiEnvironment* env);
int BasicUiWidgetTypeInstance_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetTypeInstance_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetTypeInstance_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetTypeInstance_Render(sBasicUiWidget* w);
int BasicUiWidgetTypeInstance_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

// Copies the definition's subtree under the instance. Nothing unless w is an instance with a
// record whose definition is a definition widget with a record.
void BasicUiWidgetTypeInstance_Generate(sBasicUiWidget* w);
