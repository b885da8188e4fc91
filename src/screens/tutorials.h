// The two tutorial books of the menus (screens s36 and s37): one page image at a time, the page's
// text in a message box and its caption on the page button, turned forwards and backwards.
#pragma once

struct sBasicUiWidget;

// Both books to their first page (their message boxes to text row 3); returns 1.
int StartTutorial(sBasicUiWidget* caller, int value);
// Turns pages: -1 / 1 book 36, -2 / 2 book 37, 0 shows both again; wraps at either end. Returns 0
// (the script's sequence stops), also when a widget or the "ui" database is missing.
int NextTutorial(sBasicUiWidget* caller, int step);
// The page a book shows (book 36 or 37), -1 for another number.
int TutorialPosition(int book);
