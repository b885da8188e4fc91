// The text-input command: opens the on-screen keyboard under a title read from a database cell,
// waits while the player types, and stores the text in a string cell unless the keyboard was
// cancelled.
#include <cstring>

#include "db/database.h"
#include "lib/printing.h"
#include "lib/resourceids.h"
#include "ui/osk.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

// Where the keyboard opens on the lower screen (below the page's heading, which it must leave
// readable), and its key margin.
enum { kKeyboardX = 414, kKeyboardY = 96, kKeyboardTrim = 4 };

static const sBasicUiDbRefNames kTitleNames = {"dbTitle.Nm", "dbTitle.tblNm", "dbTitle.row", "dbTitle.column"};

static sBasicUiWidgetTypeCmdTextIn* TextIn(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetTypeCmdTextIn>(w, EBasicUiWidgetTypeCmdTextIn);
}

sBasicUiWidgetTypeRef BasicUiWidgetTypeCmdTextIn_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeCmdTextIn* c = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeCmdTextIn, &c);
    if (!c) return ref;
    c->scale = 1.0f;
    c->limit = BasicUiValueINT_Make(12);
    c->column = c->row = BasicUiValueINT_Make(0);
    BasicUiDbRef_Init(&c->dbTitle);
    c->lockPadOnOpen = BasicUiValueBOOL_Make(1);
    c->unlockPadOnClose = BasicUiValueBOOL_Make(0);
    return ref;
}

int BasicUiWidgetTypeCmdTextIn_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    sBasicUiWidgetTypeCmdTextIn* c = TextIn(w);
    if (!c || !t) return 0;
    BasicUiPropertyTracker_Add(t, "title", eBasicUiPropertyTypeSTR, &c->title, 1, 0);
    BasicUiPropertyTracker_Add(t, "scale", eBasicUiPropertyTypeFLT, &c->scale, 1, 0);
    BasicUiPropertyTracker_Add(t, "limit", eBasicUiPropertyTypeINT, &c->limit, 1, 1);
    BasicUiPropertyTracker_Add(t, "dbNm", eBasicUiPropertyTypeSTR, &c->dbNm, 1, 0);
    BasicUiPropertyTracker_Add(t, "dbTblNm", eBasicUiPropertyTypeSTR, &c->dbTblNm, 1, 0);
    BasicUiPropertyTracker_Add(t, "column", eBasicUiPropertyTypeINT, &c->column, 1, 1);
    BasicUiPropertyTracker_Add(t, "row", eBasicUiPropertyTypeINT, &c->row, 1, 1);
    BasicUiDbRef_AddProperties(&c->dbTitle, kTitleNames, t);
    BasicUiPropertyTracker_Add(t, "lockPadOnOpen", eBasicUiPropertyTypeBOOL, &c->lockPadOnOpen, 1, 1);
    BasicUiPropertyTracker_Add(t, "unlockPadOnClose", eBasicUiPropertyTypeBOOL, &c->unlockPadOnClose, 1, 1);
    return 1;
}

BASIC_UI_COMMAND_NO_FRAME(CmdTextIn)

int BasicUiWidgetTypeCmdTextIn_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    sBasicUiWidgetTypeCmdTextIn* c = TextIn(w);
    if (!c) return 0;
    BasicUiWidget_FreeString(env, &c->title);
    BasicUiWidget_FreeString(env, &c->dbNm);
    BasicUiWidget_FreeString(env, &c->dbTblNm);
    BasicUiDbRef_Fini(&c->dbTitle, env);
    return BasicUiWidget_FreeRecord(env, w);
}

static sBasicDbTable* Target(sBasicUiWidgetTypeCmdTextIn* c, sBasicUiEnvironment* env)
{
    sBasicDb* db = BasicUi_FindDb(env, c->dbNm);
    return db ? BasicDbTable_Find(db, c->dbTblNm) : nullptr;
}

int BasicUiWidgetTypeCmdTextIn_Open(sBasicUiWidget* w)
{
    sBasicUiWidgetTypeCmdTextIn* c = TextIn(w);
    sBasicUiEnvironment* env = BasicUiWidget_GetEnvironment(w);
    if (!c || !env) return 0;
    sBasicDbTable* table = Target(c, env);
    if (!table) {
        BasicUiWidget_ReportMissing(w, &c->reported, "the table", c->dbTblNm);
        return 0;
    }
    int n = BasicDbTable_GetSafeStringSize(table, c->column.value);
    if (c->limit.value < n) n = c->limit.value;
    // The keyboard's text, and the copy made of it when it closes, hold at most this many bytes.
    if (n > kBasicUiOskTextSize) n = kBasicUiOskTextSize;
    // A cell or limit without room for one character and the terminator takes no text.
    if (n < 2) {
        PrintError("textIn: no room for text in %s.%s column %i", c->dbNm, c->dbTblNm, c->column.value);
        return 0;
    }
    c->size = n;
    sBasicDbTable* titleTable = BasicUiDbRef_Update(&c->dbTitle, env);
    if (!titleTable) {
        BasicUiWidget_ReportMissing(w, &c->reported, "the title table", c->dbTitle.dbTblNm);
        return 0;
    }
    char title[kBasicUiOskTextSize] = {0};
    BasicDbTable_PutElementOntoStr(titleTable, c->dbTitle.row.value, c->dbTitle.column.value, title,
                                   kBasicUiOskTextSize - 1);
    // The keyboard takes n - 1 characters, leaving the cell room for its terminator.
    BasicUiOSK_Open(env, title, kKeyboardX, kKeyboardY, kUiKeyboardFont, kKeyboardTrim, n - 1,
                    BasicUiInputMode_Normal);
    if (c->lockPadOnOpen.value) BasicUiEnvironment_SetInputMode(env, BasicUiInputMode_None);
    return 1;
}

int BasicUiWidgetTypeCmdTextIn_IsActive(sBasicUiWidget* w)
{
    sBasicUiWidgetTypeCmdTextIn* c = TextIn(w);
    sBasicUiEnvironment* env = BasicUiWidget_GetEnvironment(w);
    if (!c || !env) return 0;
    if (BasicUiOSK_Opened(env)) return 1;
    sBasicDbTable* table = Target(c, env);
    const char* result = BasicUiOSK_Result();
    if (table && !BasicUiOSK_Cancelled(env) && result[0] && c->size >= 2 && c->size <= kBasicUiOskTextSize) {
        char text[kBasicUiOskTextSize] = {0};
        std::strncpy(text, result, sizeof text - 1);
        text[c->size - 1] = 0;
        BasicDbTable_GetElementFromStr(table, c->row.value, c->column.value, text, c->size);
    }
    if (c->unlockPadOnClose.value || BasicUiOSK_Cancelled(env))
        BasicUiEnvironment_SetInputMode(env, BasicUiInputMode_Normal);
    return 0;
}

int BasicUiWidgetTypeCmdTextIn_Cancel(sBasicUiWidget* w)
{
    sBasicUiWidgetTypeCmdTextIn* c = TextIn(w);
    sBasicUiEnvironment* env = BasicUiWidget_GetEnvironment(w);
    if (!c || !BasicUiOSK_Opened(env)) return 0;
    BasicUiOSK_Close();
    BasicUiEnvironment_SetInputMode(env, BasicUiInputMode_Normal);
    return 1;
}

int BasicUiWidgetTypeCmdTextIn_WasCancelled() { return BasicUiOSK_Cancelled(BasicUi_GetEnvironment()); }
