// The statistics record. Its figures are filled in by the framework's start and by the loader;
// here it is made, cleared, and counts what the followed environment holds.
#include "ui/stats.h"

#include "lib/memory.h"
#include "lib/strings.h"
#include "platform/utilities.h"

sBasicUiEditor* basicUiEditor = nullptr;

sBasicUiEditor* BasicUi_CreateEditor(sBasicUiEnvironment* env)
{
    sBasicUiEditor* e = nullptr;
    if (!AllocateMemoryFor(&e, int(sizeof(sBasicUiEditor)))) {
        basicUiEditor = nullptr;
        return nullptr;
    }
    ClearMemory(e, int(sizeof(sBasicUiEditor)));

    sBasicUiValueINT* zeroFigures[] = {&e->memNow,     &e->memInit,     &e->memLoad,    &e->allocsNow,
                                       &e->allocsMax,  &e->allocsInit,  &e->allocsLoad, &e->vmemNow,
                                       &e->vmemInit,   &e->vmemLoad,    &e->vallocsNow, &e->vallocsMax,
                                       &e->vallocsInit, &e->vallocsLoad, &e->ballocs,   &e->bmem};
    for (sBasicUiValueINT* figure : zeroFigures) *figure = BasicUiValueINT_Make(0);
    // The minima start high so that the first reading lowers them.
    e->memMin = BasicUiValueINT_Make(0x40000000);
    e->vmemMin = BasicUiValueINT_Make(0x40000000);

    e->fontFg = BasicUiValueBYTE_Make(255);
    e->fontBg = BasicUiValueBYTE_Make(64);
    e->hiTone = BasicUiValueBYTE_Make(128);
    e->loTone = BasicUiValueBYTE_Make(96);
    e->bgTone = BasicUiValueBYTE_Make(64);
    e->alpha = BasicUiValueBYTE_Make(196);
    e->x = BasicUiValueINT_Make(80);
    e->y = BasicUiValueINT_Make(60);
    e->bstep = BasicUiValueINT_Make(10);
    e->istep = BasicUiValueINT_Make(50);
    e->fstep = 25.0f;
    e->numSlots = 8;
    e->maxLines = 13;
    e->currentLine = 0;
    e->currentVert = 1;
    // Half of eight times the widest of the characters a field shows, in the UI font. The text
    // output gives no glyph widths yet, so the width stays 0 until it does; nothing draws fields.
    e->maxFieldWidth = 0;
    e->maxFieldChars = 32;
    e->mode = 0;

    e->env = env;
    BasicUiPropertyTracker_Reset(&e->tracker, eBasicUiPropertyTrackerTypeNull, nullptr);
    CopyString("ui1080.xml", e->loadBuffer);
    CopyString("ui.xml", e->saveBuffer);

    basicUiEditor = e;
    return e;
}

sBasicUiEditor* BasicUi_GetEditor() { return basicUiEditor; }

void BasicUiEditor_Clear(sBasicUiEditor* editor, int clearEnvironment)
{
    if (!editor) return;
    editor->display = nullptr;
    editor->screen = nullptr;
    editor->widget = nullptr;
    if (clearEnvironment) editor->env = nullptr;
    if (editor->tracker.trackerType != eBasicUiPropertyTrackerTypeWidget)
        BasicUiPropertyTracker_Reset(&editor->tracker, eBasicUiPropertyTrackerTypeNull, nullptr);
    editor->firstWidgetProp = 0;
    editor->firstAnimSetItem = 0;
    editor->topAnimSet = 0;
    editor->nowAnimSet = 0;
    editor->numAnimSet = 0;
    editor->firstAnimKey = 0;
    editor->topAnim = 0;
    editor->nowAnim = 0;
    editor->numAnim = 0;
    editor->firstEditorProp = 0;
    editor->topWidget = 0;
    editor->numWidget = 0;
}

int BasicUiEditor_AnimCount(sBasicUiEditor* editor)
{
    if (!editor || !editor->env) return 0;
    int n = 0;
    for (sBasicUiAnim* a = editor->env->animRoot; a; a = a->nextAnim) n++;
    return n;
}

int BasicUiEditor_AnimSetCount(sBasicUiEditor* editor)
{
    if (!editor || !editor->env) return 0;
    int n = 0;
    for (sBasicUiAnimSet* s = editor->env->animSetRoot; s; s = s->nextAnimSet) n++;
    return n;
}

int BasicUiEditor_WidgetChildrenCount(sBasicUiEditor* editor)
{
    if (!editor) return 0;
    int n = 0;
    if (editor->widget) {
        for (sBasicUiWidget* w = editor->widget->childWidget; w; w = w->nextWidget) n++;
    } else if (editor->screen) {
        for (sBasicUiWidget* w = editor->screen->nextWidget; w; w = w->nextWidget) n++;
    } else if (editor->display) {
        for (sBasicUiScreen* s = editor->display->nextScreen; s; s = s->nextScreen) n++;
    } else if (editor->env) {
        for (sBasicUiDisplay* d = editor->env->displayRoot; d; d = d->nextDisplay) n++;
    }
    return n;
}

void BasicUiEditor_UpdateEnvInfo(sBasicUiEditor* editor)
{
    if (!editor) return;
    editor->numAnim = BasicUiEditor_AnimCount(editor);
    editor->numAnimSet = BasicUiEditor_AnimSetCount(editor);
    editor->numWidget = BasicUiEditor_WidgetChildrenCount(editor);
}
