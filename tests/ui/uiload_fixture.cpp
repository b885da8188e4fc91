#include "ui/uiload_fixture.h"

#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "db/database.h"
#include "host/errorlog.h"
#include "host/host.h"
#include "host/layoutrecord.h"
#include "lib/textoutput.h"
#include "platform/quads.h"
#include "platform/render.h"
#include "shell/globals.h"
#include "support/device_heap.h"
#include "support/game_data.h"
#include "ui/loader.h"
#include "ui/memoryslots.h"
#include "ui/stats.h"
#include "ui/widgettypes.h"

void UiLoadTest::SetUp()
{
    ASSERT_EQ(UseFreshDeviceHeap(32u << 20), 1);
    ASSERT_EQ(BasicMemory_Init(basicUiNumberOfMemorySlots), 1);
    BasicDb_Init();
    done = 0;
    basicUiEnvironmentPtr = nullptr;
    basicUiEditor = nullptr;
    env = BasicUi_CreateEnvironment(const_cast<char*>("LoadEnv"), 2);
    ASSERT_NE(env, nullptr);
    HostClearErrorLog();
    std::string dir = ::testing::TempDir() + "zendrolyx-ui-test-XXXXXX";
    ASSERT_NE(mkdtemp(dir.data()), nullptr);
    scratch = dir;
}

void UiLoadTest::StartRenderer()
{
    ASSERT_EQ(OpenBuildGameData(), 1);
    rendering = true;
    ASSERT_EQ(RenderInit(0x80000, 0x800, 0x502, 0x500), 1);
}

void UiLoadTest::TearDown()
{
    BasicUiEnvironment_Clear(env);
    if (rendering) {
        // The fonts a test selected go with the heap.
        theFont = nullptr;
        fontTable = nullptr;
        currentFontRSID = -1;
        RenderDispose();
        CloseBuildGameData();
        rendering = false;
    }
    // The framework's records live in the heap that goes now.
    basicUiEnvironmentPtr = nullptr;
    basicUiEditor = nullptr;
    std::string command = "rm -rf '" + scratch + "'";
    if (system(command.c_str()) != 0) ADD_FAILURE() << "could not remove " << scratch;
    ReleaseDeviceHeap();
}

int UiLoadTest::LoadText(const std::string& body, bool bare)
{
    std::string text = bare ? body : "<BasicUiEnvironment>\n" + body + "\n</BasicUiEnvironment>\n";
    std::ofstream(scratch + "/test.xml", std::ios::binary) << text;
    gHostOptions.romDir = scratch;
    return BasicUiEnvironment_Load("test.xml", env);
}

int UiLoadTest::LoadContent(const char* path)
{
    gHostOptions.romDir = std::string(ZENDROLYX_SOURCE_DIR) + "/content";
    return BasicUiEnvironment_Load(path, env);
}

static void AddTree(sBasicUiWidget* w, std::vector<std::string>* out)
{
    // Bounded, so that a tree that became a loop fails the test instead of hanging it.
    for (; w && out->size() < 10000; w = w->nextWidget) {
        out->push_back(w->name ? w->name : "(null)");
        AddTree(w->childWidget, out);
    }
}

std::vector<std::string> TreeNames(sBasicUiScreen* screen)
{
    std::vector<std::string> names;
    if (screen) AddTree(screen->nextWidget, &names);
    return names;
}

std::vector<std::string> ChainNames(sBasicUiWidget* first)
{
    std::vector<std::string> names;
    for (sBasicUiWidget* w = first; w && names.size() < 10000; w = w->nextWidget) names.push_back(w->name ? w->name : "(null)");
    return names;
}

bool LogHas(const std::string& text) { return HostErrorLog().find(text) != std::string::npos; }

std::vector<DrawnText> DrawWidgetTexts(sBasicUiWidget* widget, int* quads)
{
    const int wasRecording = gHostOptions.layoutOut;
    gHostOptions.layoutOut = 1;
    LayoutFramePresented("");
    LayoutFramePresented("");
    RenderStartScreen();
    RenderStartDisplay1();
    const uint32_t first = numOverlayPolys;
    BasicUiWidgetType_Render(widget);
    if (quads) *quads = int(numOverlayPolys - first);
    RenderEndDisplay1();
    RenderDoneScreen();
    // The presentation that ended the frame moved its record aside; the next one writes it.
    std::string path = ::testing::TempDir() + "zendrolyx-ui-layout-XXXXXX";
    const int fd = mkstemp(path.data());
    if (fd >= 0) close(fd);
    LayoutFramePresented(path.data());
    gHostOptions.layoutOut = wasRecording;
    std::vector<DrawnText> lines;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string display;
        DrawnText t;
        if (!(fields >> display >> t.x >> t.y >> t.w >> t.h) || display != "lower") continue;
        std::getline(fields >> std::ws, t.text);
        lines.push_back(t);
    }
    unlink(path.c_str());
    return lines;
}
