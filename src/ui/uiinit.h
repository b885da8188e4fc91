// Starting the UI framework: memory slots, controller copy, the UI font, the base environment,
// the statistics record, the frame clock, the key queue and the script-function registry.
#pragma once

// Chosen by BasicUi_Init from the display variant: the UI font's info and texture resources.
extern int basicUiFontInfoID;
extern int basicUiFontID;
// The touch hand is used when BasicUi_Init was asked for motion controls.
extern int basicUiUseMotionControls;

int BasicUi_Init(int useMotionControls);
