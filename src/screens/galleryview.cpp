// The widget gallery as a developer's screen: the UI framework started on its own, the gallery's
// description loaded and run by the screen API frame by frame (the three passes, the controls, the
// update) until the window closes; the gallery's buttons open its dialogs through one script function, and the answer
// chosen is written into the gallery's message box so a person sees what the dialog returned.
#include "screens/galleryview.h"

#include <cstdio>
#include <cstring>

#include "db/database.h"
#include "lib/printing.h"
#include "lib/screenapi.h"
#include "ui/environment.h"
#include "ui/frameupdate.h"
#include "ui/loader.h"
#include "ui/registry.h"
#include "ui/uiinit.h"
#include "ui/widgets/dialogbox.h"

namespace {

struct GalleryDialog {
    const char* name;
    int type;  // as OpenDialog takes it
    int firstAnswerRow;
};
// The pad dialog asks with three answers from row 8 of the gallery's answers table, the other two
// with Yes and No from row 1.
const GalleryDialog kDialogs[] = {{"g.padAsk", 3, 8}, {"g.stickyAsk", 2, 1}, {"g.ask", 2, 1}};
const int kMessageRow = 11;  // the message box's text

// The answer's row for the code OpenDialog returned: 2 the first answer, 1 the middle of three, 0
// the last.
int AnswerRow(const GalleryDialog& d, int code)
{
    const int answers = d.type == 3 ? 3 : 2;
    if (code == 2) return d.firstAnswerRow;
    if (code == 1 && answers == 3) return d.firstAnswerRow + 1;
    return d.firstAnswerRow + answers - 1;
}

int GalleryAsk(sBasicUiWidget* caller, int which)
{
    if (which < 0 || which >= int(sizeof kDialogs / sizeof kDialogs[0])) return 1;
    sBasicUiEnvironment* env = BasicUiWidget_GetEnvironment(caller);
    const GalleryDialog& d = kDialogs[which];
    const int code = BasicUiWidgetTypeDialogBox_OpenDialog(BasicUi_FindWidget(env, d.name), d.type);
    // A shown-only dialog answers later, within the ordinary frames; a cut-short one not at all.
    if (which == 2 || code < 0) return 1;
    sBasicDbTable* answers = BasicDbTable_Find(BasicUi_FindDb(env, "gallery"), "answers");
    if (!answers) return 1;
    char text[96];
    std::snprintf(text, sizeof text, "You chose: %s", BasicDbTable_GetStrElement(answers, AnswerRow(d, code), 0));
    BasicDbTable_GetElementFromStr(answers, kMessageRow, 0, text, int(std::strlen(text)));
    return 1;
}

}  // namespace

void RegisterGalleryFunctions() { BasicFn_Register("GalleryAsk", GalleryAsk); }

namespace {

sBasicUiEnvironment* galleryEnv = nullptr;

int OpenGallery()
{
    BasicUi_Init(1);
    RegisterGalleryFunctions();
    galleryEnv = BasicUi_GetEnvironment();
    if (!galleryEnv || !BasicUiEnvironment_Load("ui/gallery.ui.xml", galleryEnv)) {
        PrintError("gallery: ui/gallery.ui.xml could not be loaded");
        return 0;
    }
    BasicUiEnvironment_SetInputMode(galleryEnv, BasicUiInputMode_Normal);
    return 1;
}

// The screen API brackets the frame's drawing; the three passes go inside it.
int DrawGallery() { return BasicUi_RenderEnvironment(galleryEnv); }
int UpdateGallery() { return BasicUi_UpdateEnvironmentFull(galleryEnv); }

int CloseGallery()
{
    BasicUiEnvironment_Clear(galleryEnv);
    galleryEnv = nullptr;
    return 1;
}

SCREENTAG galleryScreen = {OpenGallery, DrawGallery, UpdateGallery, CloseGallery};

}  // namespace

int SelectWidgetGallery() { return ScreenSelect(&galleryScreen); }
