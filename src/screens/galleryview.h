// The widget gallery in the window, a developer's view of the menu widgets: "--launch gallery"
// selects it in place of the intro and the game, with the pad, the keyboard and the mouse as stylus.
#pragma once

// Registers the gallery's script function "GalleryAsk" (value 0 opens its pad dialog, 1 its
// sticky dialog, 2 its shown-only dialog, and the answer is written into its message box).
void RegisterGalleryFunctions();
// Selects the gallery's screen: when the screen loop runs it, it starts the UI framework, loads
// ui/gallery.ui.xml from the game data (a message and the end of the program when it cannot) and
// runs its frames until the program is told to close.
int SelectWidgetGallery();
