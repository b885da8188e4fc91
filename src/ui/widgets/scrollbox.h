// The scroll box widget: shows a window of consecutive button children laid out in equal slots,
// hides the rest, pages when the selection leaves the window, and draws a scroll bar and an n/m
// counter.
#pragma once

#include "ui/environment.h"

struct sBasicUiWidgetTypeScrollBox {
    sBasicUiValueINT x, y, selected, slot, slots;
    sBasicUiValueINT slotHeight, slotOffsetX, slotWidth, slotOffsetY;
    sBasicUiValueINT items;
    sBasicUiValueBOOL isVirtual;
    sBasicUiValueINT itemsVirtual, selectedVirtual;
    sBasicUiValueBOOL isVertical, hasCounter, hasPageCounter;
    sBasicUiValueINT counterX, counterY, counterZeros, counterAlignX, fontID;
    float fontScaleX, fontScaleY;
    sBasicUiWidget* scrollU;
    sBasicUiWidget* scrollD;
    sBasicUiValueINT barX, barY, barW, barH;
    sBasicUiValueBYTE barR, barG, barB, barA, barMR, barMG, barMB;
    sBasicUiValueBOOL barFlip;
    int reported;  // a missing font was reported
};

sBasicUiWidgetTypeRef BasicUiWidgetTypeScrollBox_Create(sBasicUiEnvironment* env);
int BasicUiWidgetTypeScrollBox_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetTypeScrollBox_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetTypeScrollBox_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetTypeScrollBox_Render(sBasicUiWidget* w);
int BasicUiWidgetTypeScrollBox_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

// Pages the window so that the button child is in it: back to the start of its page (running
// "scrollU"), or forward to its page limited to the last full window (running "scrollD"); the
// display's cursor is cleared when the window moves. Nothing for a button that is not a child.
void BasicUiWidgetTypeScrollBox_ScrollTo(sBasicUiWidget* box, sBasicUiWidget* button);
sBasicUiWidget* BasicUiWidgetTypeScrollBox_GetNth(sBasicUiWidget* box, int n);
int BasicUiWidgetTypeScrollBox_GetIndex(sBasicUiWidget* box, sBasicUiWidget* button);
int BasicUiWidgetTypeScrollBox_GetSelectedIndex(sBasicUiWidget* box);
int BasicUiWidgetTypeScrollBox_SetSelectedIndex(sBasicUiWidget* box, int index);
int BasicUiWidgetTypeScrollBox_GetSelectedSlot(sBasicUiWidget* box);
int BasicUiWidgetTypeScrollBox_SetSelectedSlot(sBasicUiWidget* box, int slot);
int BasicUiWidgetTypeScrollBox_GetSlots(sBasicUiWidget* box);
// The counter's text as the box would draw it now ("n/m"), of a list that ends at the last button
// child (a child after it is no entry); 0 when not a scroll box.
int BasicUiWidgetTypeScrollBox_CounterText(sBasicUiWidget* box, char* text, int size);
