// Starting the UI framework: memory slots, controller copy, the UI font, the base environment,
// the statistics record, the frame clock, the key queue and the script-function registry.
#include "ui/uiinit.h"

#include "lib/memory.h"
#include "lib/printing.h"
#include "lib/resources.h"
#include "shell/globals.h"
#include "ui/environment.h"
#include "ui/frameupdate.h"
#include "ui/loader.h"
#include "ui/presslatch.h"
#include "ui/registry.h"
#include "ui/stats.h"
#include "xml/xmlreader.h"

int basicUiFontInfoID = 6;
int basicUiFontID = 7;
int basicUiUseMotionControls = 0;

static const int kLogoResource = 1;

static void ChooseFont()
{
    if (gHiDef == 1) {
        basicUiFontInfoID = 4;
        basicUiFontID = 5;
    } else if (gHiDef == 2) {
        basicUiFontInfoID = 2;
        basicUiFontID = 3;
    } else {
        basicUiFontInfoID = 6;
        basicUiFontID = 7;
    }
}

static void LoadUiArchive()
{
    char path[256];
    PrintString(path, int(sizeof path), "%s%s", "rom:\\", "Resource\\BasicUiRez.rez");
    BasicXml_BS2FS(path);
    // Stopped by the order to close: there is nothing to load, and nothing is missing.
    if (!OpenResourceFile(path) && done) return;
    if (!BasicUi_LoadResourceRange1x1(kLogoResource, kLogoResource))
        PrintError("BasicUi Error: could not find basicUi logo resource!");
    if (!BasicUi_LoadResourceRange1x1(basicUiFontInfoID, basicUiFontInfoID))
        PrintError("BasicUi Error: could not find basicUi font info resource!");
    if (!BasicUi_LoadResourceRange1x1(basicUiFontID, basicUiFontID))
        PrintError("BasicUi Error: could not find basicUi font  resource!");
}

static void RecordHeap(sBasicUiValueINT* mem, sBasicUiValueINT* memLoad, sBasicUiValueINT* allocs,
                       sBasicUiValueINT* allocsLoad)
{
    unsigned bytes = 0, count = 0;
    DefaultHeapMemoryAvailable(&bytes);
    DefaultHeapAllocations(&count);
    mem->value = mem->initial = memLoad->value = memLoad->initial = int(bytes);
    allocs->value = allocs->initial = allocsLoad->value = allocsLoad->initial = int(count);
}

int BasicUi_Init(int useMotionControls)
{
    basicUiUseMotionControls = useMotionControls;
    BasicMemory_Init(basicUiNumberOfMemorySlots);
    BasicUi_ClrController(1);
    BasicUi_ClearLatch();
    ChooseFont();
    if (!ResourceLoaded(basicUiFontID)) LoadUiArchive();

    sBasicUiEnvironment* env = BasicUi_CreateEnvironment(const_cast<char*>("BaseEnv"), 0);
    sBasicUiEditor* editor = BasicUi_CreateEditor(env);
    if (env) env->variant = BasicUiEnvironment_GetVariant(nullptr);
    BasicXml_EnablePrintf(0);
    BasicUiCounter_Init();
    BasicUi_InitKb();
    if (useMotionControls) BasicUi_InitMc();
    BasicFn_Clear();
    if (editor) RecordHeap(&editor->memInit, &editor->memLoad, &editor->allocsInit, &editor->allocsLoad);
    return 1;
}
