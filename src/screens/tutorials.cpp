// The tutorial books. Each book's strings table in the "ui" database holds three heading rows, then
// one text row per page, then one caption row per page, so a table of R rows has (R - 3) / 2
// pages. Page k is the image widget "s36.tutKK" (two digits); only the current page is drawn.
#include "screens/tutorials.h"

#include <cstdio>

#include "db/database.h"
#include "ui/environment.h"
#include "ui/widgets/button.h"
#include "ui/widgets/msgbox.h"

namespace {

struct TutorialBook {
    int number;             // 36 or 37
    const char* message;    // the message box
    const char* button;     // the page button
    const char* strings;    // its table in the "ui" database
    int position;
};

TutorialBook books[2] = {
    {36, "s36msg", "s36b1", "s36Strings", 0},
    {37, "s37msg", "s37b1", "s37Strings", 0},
};

enum { kFirstTextRow = 3, kTextColumn = 1 };

// Whether the step turns this book: -1, 0, 1 book 36; -2, 0, 2 book 37.
bool TakesPart(const TutorialBook& book, int step)
{
    if (step == 0) return true;
    const int unit = book.number == 36 ? 1 : 2;
    return step == unit || step == -unit;
}

sBasicUiWidget* PageWidget(sBasicUiEnvironment* env, const TutorialBook& book, int page)
{
    char name[32];
    std::snprintf(name, sizeof name, "s%d.tut%d%d", book.number, (page / 10) % 10, page % 10);
    return BasicUi_FindWidget(env, name);
}

// Turns one book; 0 when something it needs is missing (nothing changed then).
int Turn(sBasicUiEnvironment* env, sBasicDb* ui, TutorialBook& book, int step)
{
    sBasicUiWidget* box = BasicUi_FindWidget(env, book.message);
    sBasicUiWidget* button = BasicUi_FindWidget(env, book.button);
    sBasicDbTable* table = BasicDbTable_Find(ui, book.strings);
    if (!box || !button || !table) return 0;
    const int pages = (table->rows - kFirstTextRow) / 2;
    if (pages <= 0) return 0;
    for (int p = 0; p < pages; ++p)
        if (!PageWidget(env, book, p)) return 0;

    int position = book.position + (step > 0 ? 1 : step < 0 ? -1 : 0);
    if (position < 0) position = pages - 1;
    if (position >= pages) position = 0;
    book.position = position;

    for (int p = 0; p < pages; ++p) PageWidget(env, book, p)->isRender.value = p == position;
    BasicUiWidgetTypeMsgBox_SetMsg(box, nullptr, position + kFirstTextRow, kTextColumn);
    BasicUiWidgetTypeButton_SetDbIndex(button, kTextColumn, position + pages + kFirstTextRow);
    return 1;
}

}  // namespace

int StartTutorial(sBasicUiWidget* caller, int)
{
    sBasicUiEnvironment* env = BasicUi_GetEnvironment();
    sBasicUiWidget* box36 = BasicUi_FindWidget(env, books[0].message);
    sBasicUiWidget* box37 = BasicUi_FindWidget(env, books[1].message);
    if (!box36 || !box37) return 1;
    BasicUiWidgetTypeMsgBox_SetMsg(box36, nullptr, kFirstTextRow, kTextColumn);
    BasicUiWidgetTypeMsgBox_SetMsg(box37, nullptr, kFirstTextRow, kTextColumn);
    books[0].position = 0;
    books[1].position = 0;
    NextTutorial(caller, 0);
    return 1;
}

int NextTutorial(sBasicUiWidget*, int step)
{
    sBasicUiEnvironment* env = BasicUi_GetEnvironment();
    sBasicDb* ui = BasicUi_FindDb(env, "ui");
    if (!ui) return 0;
    for (TutorialBook& book : books)
        if (TakesPart(book, step)) Turn(env, ui, book, step);
    return 0;
}

int TutorialPosition(int book)
{
    for (const TutorialBook& b : books)
        if (b.number == book) return b.position;
    return -1;
}
